#include "categories/himokuform.h"
#include "platform/dialogkeys.h"
#include "platform/objectnames.h"

#include "categories/categoryicons.h"
#include "categories/iconpack.h"
#include "ledger/cp932.h"
#include "ledger/fileerror.h"
#include "ledger/textcompare.h"
#include "platform/errortext.h"
#include "platform/fonts.h"
#include "platform/textcodec.h"
#include "skin/buttonface.h"
#include "skin/dialogchrome.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <limits>
#include <set>

namespace categories {
namespace {

using Icon = platform::Prompts::Icon;
using Buttons = platform::Prompts::Buttons;
using Answer = platform::Prompts::Answer;

constexpr QSize kSize(780, 540);

// Editors of the category table: the kind is picked from 支出 and 収入, the rest is typed.
class CategoryDelegate : public platform::GridDelegate {
public:
    CategoryDelegate(THIMOKUForm& form, platform::GridView& grid)
        : platform::GridDelegate(grid), form_(form) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor;
        if (index.column() == CategoryModel::kKind) {
            auto* combo = new QComboBox(parent);
            combo->addItems({QStringLiteral("支出"), QStringLiteral("収入")});
            editor = combo;
        } else {
            editor = QStyledItemDelegate::createEditor(parent, option, index);
            // No cut at QLineEdit's default 32767 characters.
            if (auto* line = qobject_cast<QLineEdit*>(editor))
                line->setMaxLength(std::numeric_limits<int>::max());
        }
        view_.EditorOpened(editor);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString()));
            return;
        }
        if (!editor->property("vantrelLoaded").toBool()) {
            QStyledItemDelegate::setEditorData(editor, index);
            editor->setProperty("vantrelLoaded", true);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        QString text;
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            if (combo->currentIndex() < 0)
                return;
            text = combo->currentText();
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            text = line->text();
        }
        form_.AcceptEdit(index, text);
    }

private:
    THIMOKUForm& form_;
};

}  // namespace

THIMOKUForm::THIMOKUForm(platform::Prompts& prompts, const skin::SkinImages& skin, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), prompts_(prompts) {
    const skin::DialogChrome chrome =
        skin::DressDialog(*this, skin, kSize, QStringLiteral("費目設定"));
    background_ = chrome.background;
    title_ = chrome.title;

    addButton_ =
        skin::MakeTextButton(this, QStringLiteral("費目追加"), QRect(24, 48, 110, 30), false);
    addButton_->setStyleSheet(QStringLiteral("color: rgb(16, 16, 96);"));
    deleteButton_ =
        skin::MakeTextButton(this, QStringLiteral("選択行削除"), QRect(142, 48, 110, 30), false);
    saveButton_ = skin::MakeTextButton(this, QStringLiteral("保存して閉じる"),
                                       QRect(522, 48, 130, 30), false);
    cancelButton_ =
        skin::MakeTextButton(this, QStringLiteral("キャンセル"), QRect(660, 48, 96, 30), false);
    auto* hint = new QLabel(
        QStringLiteral(
            "1～11行目は固定の費目です。12行目からの費目には右クリックでアイコンを付けられます。"),
        this);
    hint->setGeometry(24, 86, 732, 18);
    hint->setStyleSheet(QStringLiteral("color: rgb(80, 90, 110);"));

    table_ = new platform::GridView(this);
    table_->setGeometry(24, 108, 732, 408);
    table_->setModel(&model_);
    table_->setItemDelegate(new CategoryDelegate(*this, *table_));
    table_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    table_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                            QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    table_->verticalHeader()->setDefaultSectionSize(21);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setMinimumWidth(28);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: rgb(214, 221, 194); border: none;"
                       " border-right: 1px solid rgb(190, 198, 168); border-bottom: 1px solid "
                       "rgb(190, 198, 168); padding-left: 3px; }"));
    table_->setIconSize(QSize(18, 16));
    platform::DialogKeys::On(*this).Escape([this] { CloseByEscape(); });
    // Tab leaves the table for the buttons (Enter and the arrows walk its cells).
    table_->setTabKeyNavigation(false);
    table_->setWordWrap(false);
    model_.SetIconSource([this](int row) { return RowIcon(row); });

    focusSink_ = new QPushButton(this);
    focusSink_->setGeometry(-100, -100, 10, 10);
    focusSink_->setFocusPolicy(Qt::NoFocus);  // out of Tab's way; it only takes the focus

    iconMenu_ = new QMenu(this);
    QAction* add = iconMenu_->addAction(QStringLiteral("ADD ICON"));
    QAction* del = iconMenu_->addAction(QStringLiteral("Del ICON"));
    platform::NameControls({
        {title_, "Label1"},
        {background_, "Imagemain"},
        {table_, "maingrid"},
        {saveButton_, "SpeedButton1"},
        {cancelButton_, "SpeedButton2"},
        {addButton_, "SpeedButton3"},
        {deleteButton_, "SpeedButton4"},
        {focusSink_, "focusbutton"},
        {iconMenu_, "PopupMenu1"},
        {add, "ADDICON1"},
        {del, "DelICON1"},
    });
    connect(add, &QAction::triggered, this, &THIMOKUForm::AddIcon);
    connect(del, &QAction::triggered, this, &THIMOKUForm::DeleteIcon);
    connect(table_, &platform::GridView::popupRequested, this,
            [this](const QPoint& pos) { iconMenu_->exec(pos); });

    connect(saveButton_, &QPushButton::clicked, this, &THIMOKUForm::SaveAndClose);
    connect(cancelButton_, &QPushButton::clicked, this, &THIMOKUForm::Cancel);
    connect(addButton_, &QPushButton::clicked, this, &THIMOKUForm::AddCategory);
    connect(deleteButton_, &QPushButton::clicked, this, &THIMOKUForm::DeleteSelectedRows);

    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
}

THIMOKUForm::IconSlots THIMOKUForm::Edit(const state::AppState& book, SaveTable save) {
    book_.emplace(book);
    save_ = std::move(save);
    if (FormShow())
        prompts_.RunDialog(*this);
    return {book_->settings, book_->icons};
}

bool THIMOKUForm::FormShow() {
    ledger::GridTable table;
    try {
        table = ledger::ReadGridCellFile(book_->folders.CategoryFile());
    } catch (const ledger::FileError& e) {
        prompts_.Error(
            this, platform::FileErrorText(QStringLiteral("setting.dat を読み込めません。"), e));
        return false;
    }
    model_.Load(table);
    for (int c = 0; c < CategoryModel::kColumns; ++c) {
        table_->setColumnWidth(c, c < table.cols() ? table.ColumnWidth(c) : (c == 10 ? 87 : 64));
    }
    closingByCommand_ = false;
    edited_ = false;
    if (model_.rowCount() > 0)
        table_->setCurrentIndex(model_.index(0, 1));
    return true;
}

QPixmap THIMOKUForm::RowIcon(int row) const {
    // The fixed positions show the icon of their category name; the user's own rows the icon
    // of the slot of their position, whatever their name.
    if (!book_)
        return {};
    if (row < state::IconSet::kBuiltIn) {
        // By the stored bytes: a name read from the file that is not valid CP932 has no
        // encoding back, and this runs while the grid paints.
        int k = book_->categories.CategoryIndex(model_.Bytes(row, CategoryModel::kName));
        return k >= 0 && k < state::IconSet::kBuiltIn ? book_->icons.Icon(k) : QPixmap();
    }
    const int slot = row - state::IconSet::kBuiltIn;
    if (slot >= book_->settings.UsedSlots())
        return {};
    if (book_->settings.extIconNames[static_cast<size_t>(slot)].empty())
        return {};
    return book_->icons.Icon(state::IconSet::kBuiltIn + slot);
}

bool THIMOKUForm::AcceptEdit(const QModelIndex& index, const QString& text) {
    const int row = index.row();
    const int column = index.column();
    if (text == model_.Text(row, column))
        return true;  // unchanged: not checked
    if (column == CategoryModel::kName && row >= CategoryModel::kFixedRows &&
        model_.NameTaken(row, text)) {
        prompts_.Message(this, QStringLiteral("Vantrel"),
                         QStringLiteral("同じ名前の費目がすでにあります。変更は摘要されません。"),
                         Icon::Warning, Buttons::Ok);
        table_->RefuseEdit(index);
        return false;
    }
    try {
        model_.SetText(row, column, text);
    } catch (const ledger::Cp932Error& e) {
        prompts_.Error(this, platform::FromUtf8(e.what()));
        return false;
    }
    edited_ = true;
    table_->viewport()->update();
    return true;
}

void THIMOKUForm::SaveAndClose() {
    focusSink_->setFocus();
    // A refused name is back in its cell with the editor open: nothing is asked yet.
    if (!table_->FinishEditing())
        return;
    if (prompts_.Message(this, QStringLiteral("確認"), QStringLiteral("変更を保存しますか"),
                         Icon::Question, Buttons::YesNo) == Answer::Yes) {
        if (const int row = model_.EmptyNameBeforeNamedRow(); row >= 0) {
            // The list would be read only up to this row: the editor stays open on it.
            prompts_.Message(this, QStringLiteral("警告"),
                             QStringLiteral("%1行目の費目が空です。この行より後の費目は使えなくなる"
                                            "ため、保存できません。\n費目を入れるか、行を削除"
                                            "してください。")
                                 .arg(CategoryModel::GridRow(row)),
                             Icon::Warning, Buttons::Ok);
            table_->setCurrentIndex(model_.index(row, CategoryModel::kName));
            return;
        }
        std::vector<int> widths;
        for (int c = 0; c < CategoryModel::kColumns; ++c)
            widths.push_back(table_->columnWidth(c));
        if (std::optional<QString> failure = save_(model_.Table(widths), model_.Changes())) {
            // The table stays open with its edits, so nothing is lost.
            prompts_.Error(this, *failure);
            return;
        }
    }
    closingByCommand_ = true;
    accept();
}

void THIMOKUForm::Cancel() {
    table_->FinishEditing();
    closingByCommand_ = true;
    QDialog::reject();
}

void THIMOKUForm::AddCategory() {
    table_->FinishEditing();
    if (model_.AppendRow()) {
        edited_ = true;
        table_->scrollToBottom();
    }
}

void THIMOKUForm::DeleteSelectedRows() {
    table_->FinishEditing();
    std::set<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    if (rows.empty() && table_->currentIndex().isValid())
        rows.insert(table_->currentIndex().row());
    if (rows.empty())
        return;
    if (prompts_.Message(this, QStringLiteral("確認"),
                         QStringLiteral("行を削除します。よろしいですか？"), Icon::Question,
                         Buttons::OkCancel) != Answer::Ok) {
        return;
    }
    int removed = 0;
    for (int row : rows) {  // from the top
        if (CategoryModel::GridRow(row) <= CategoryModel::kFixedRows) {
            prompts_.Message(this, QStringLiteral("警告"), QStringLiteral("この行は削除できません"),
                             Icon::Warning, Buttons::Ok);
            continue;
        }
        model_.RemoveRow(row - removed);
        ++removed;
        edited_ = true;
    }
}

int THIMOKUForm::SlotUnderPress() const {
    const int row = table_->indexAt(table_->lastPress()).row();
    if (row < 0)
        return -1;
    const int slot = CategoryModel::GridRow(row) - 12;
    return slot >= 0 && slot < ledger::Settings::kExtIconSlots ? slot : -1;
}

void THIMOKUForm::AddIcon() {
    const int slot = SlotUnderPress();
    if (slot < 0)
        return;
    const QString chosen =
        prompts_.OpenFile(this, QStringLiteral("アイコンを選ぶ"),
                          QStringLiteral("Pacfile or bmp 16*16 (*.pac *.bmp *.PAC *.BMP)"));
    if (chosen.isEmpty())
        return;
    const IconAttachment attached = AttachIcon(*book_, slot, chosen);
    if (attached.outcome == IconAttachment::Outcome::Failed)
        prompts_.Error(this, attached.message);
    model_.IconsChanged();
}

void THIMOKUForm::DeleteIcon() {
    const int slot = SlotUnderPress();
    if (slot < 0)
        return;
    book_->settings.extIconNames[static_cast<size_t>(slot)].clear();
    book_->icons.SetIcon(state::IconSet::kBuiltIn + slot, {});
    model_.IconsChanged();
}

void THIMOKUForm::CloseByEscape() {
    // As キャンセル does, asking first when the table was changed.
    focusSink_->setFocus();
    if (!table_->FinishEditing())
        return;  // a refused name is back in its cell
    if (edited_ && prompts_.Message(this, QStringLiteral("確認"),
                                    QStringLiteral("変更を保存せずに閉じますか？"), Icon::Question,
                                    Buttons::YesNo) != Answer::Yes) {
        table_->setFocus();
        return;
    }
    Cancel();
}

void THIMOKUForm::reject() {
    if (closingByCommand_)
        QDialog::reject();
}

}  // namespace categories
