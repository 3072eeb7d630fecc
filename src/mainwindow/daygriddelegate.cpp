#include "daygriddelegate.h"

#include "daymodel.h"
#include "platform/amounttext.h"

#include "platform/textcodec.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>

#include <limits>

namespace mainwindow {
namespace {

const QColor kBorder(216, 216, 216);

// The amount's editor: digits as typed, with the input method off. An input method would
// compose them full-width, which the amount rule refuses, and would take the Enter that
// finishes the amount to end its composition instead.
class AmountEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
        if (query == Qt::ImEnabled)
            return false;
        return QLineEdit::inputMethodQuery(query);
    }
};

bool IsListColumn(int column) {
    return column == DayModel::kCategory || column == DayModel::kDescription;
}

}  // namespace

DayGridDelegate::DayGridDelegate(const ledger::CategoryList& categories, platform::GridView& view)
    : platform::GridDelegate(view), categories_(categories) {}

QWidget* DayGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                       const QModelIndex& index) const {
    QWidget* editor = nullptr;
    if (IsListColumn(index.column())) {
        auto* combo = new QComboBox(parent);
        combo->setEditable(false);  // pick only
        if (index.column() == DayModel::kCategory) {
            for (const std::string& name : categories_.Names())
                combo->addItem(platform::FromCp932(name));
        } else {
            const auto* model = static_cast<const DayModel*>(index.model());
            int k = categories_.CategoryIndex(model->Bytes(index.row(), DayModel::kCategory));
            if (k >= 0) {
                for (const std::string& p : categories_.Presets(k))
                    combo->addItem(platform::FromCp932(p));
            }
        }
        // A pick goes into the cell at once, so the day's balance follows it.
        connect(combo, &QComboBox::activated, this,
                [this, combo] { emit const_cast<DayGridDelegate*>(this)->commitData(combo); });
        editor = combo;
    } else {
        auto* line =
            index.column() == DayModel::kAmount ? new AmountEdit(parent) : new QLineEdit(parent);
        // QLineEdit cuts text at 32767 characters by default: a long memo would lose its
        // end just by passing through the editor.
        line->setMaxLength(std::numeric_limits<int>::max());
        line->setFrame(false);
        if (index.column() == DayModel::kAmount)
            line->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly);
        editor = line;
    }
    view_.EditorOpened(editor);
    return editor;
}

void DayGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        // Set once when the editor opens; a later refresh must not undo what is typed.
        if (!line->property("vantrelLoaded").toBool()) {
            line->setText(text);
            line->setProperty("vantrelLoaded", true);
        }
    }
}

void DayGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                   const QModelIndex& index) const {
    auto* dayModel = static_cast<DayModel*>(model);
    QString text;
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->currentIndex() < 0)
            return;  // nothing picked
        text = combo->currentText();
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        text = line->text();
    }
    if (text == dayModel->Text(index.row(), index.column()))
        return;

    if (index.column() == DayModel::kMemo) {
        // One entry is one line of the month file: line breaks become blanks.
        text.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    if (index.column() == DayModel::kAmount) {
        // Stored as the plain number: "1,280" and "１２８０" count like 1280 everywhere.
        std::optional<QString> amount = platform::AmountToStore(text);
        if (!amount) {
            view_.RefuseEdit(index);
            emit amountRefused(index);
            return;
        }
        text = *amount;
        if (text == dayModel->Text(index.row(), index.column()))
            return;
    }
    if (dayModel->setData(index, text))
        emit cellEdited(index.row(), index.column());
}

void DayGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    // The current cell shows as a frame, not as a selection colour over the row colours.
    if (opt.state & QStyle::State_HasFocus)
        opt.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, opt, index);
    painter->save();
    painter->setPen(kBorder);
    const QRect r = option.rect;
    if (index.column() < DayModel::kColumns - 1)
        painter->drawLine(r.topRight(), r.bottomRight());
    if (index.row() == index.model()->rowCount() - 1)
        painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
}

}  // namespace mainwindow
