#pragma once

#include <QDialog>
#include <QPoint>

#include <functional>
#include <optional>
#include "platform/gridview.h"

#include "categories/categorymodel.h"
#include "ledger/gridcellfile.h"
#include "platform/prompts.h"
#include "skin/skin.h"
#include "state/appstate.h"

class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace categories {

class THIMOKUForm;

// 費目設定: edits the category list file as one table and writes it back whole on a
// confirmed save. Also attaches extra icons to the user's own categories.
class THIMOKUForm : public QDialog {
    Q_OBJECT
public:
    THIMOKUForm(platform::Prompts& prompts, const skin::SkinImages& skin,
                QWidget* parent = nullptr);

    // Writes the table as the category list file, with how its names changed since it was
    // read; what failed, in the user's words.
    using SaveTable =
        std::function<std::optional<QString>(const ledger::GridTable&, const CategoryChanges&)>;
    // What the editor hands back: the extra icon slots as the user left them (ADD ICON and
    // Del ICON take effect at once, saved or not), for the caller to apply.
    struct IconSlots {
        ledger::Settings settings;  // its extIconCount and extIconNames
        state::IconSet icons;
    };

    CategoryModel& model() { return model_; }

    // Shows the editor on the category list file of `book` until the user closes it; a
    // confirmed save goes through `save` (a failure keeps the editor open with its edits).
    // The editor works on its own copy of `book`. The caller reads the list again
    // afterwards, saved or not, and applies the icon slots.
    IconSlots Edit(const state::AppState& book, SaveTable save);

    // Reads the category list file into the table; false (the user told) when it cannot be
    // read, and the editor should not open.
    bool FormShow();

    // Called by the delegate when a cell's edit is finished; false refuses it.
    bool AcceptEdit(const QModelIndex& index, const QString& text);

protected:
    void reject() override;

private:
    void SaveAndClose();        // 保存して閉じる
    void Cancel();              // キャンセル
    void AddCategory();         // 費目追加
    void DeleteSelectedRows();  // 選択行削除
    void AddIcon();             // ADD ICON: the row under the last press
    void DeleteIcon();          // Del ICON
    void CloseByEscape();
    QPixmap RowIcon(int row) const;
    // The slot of the model row under the last press, or -1.
    int SlotUnderPress() const;

    // The controls; their designer names are their object names (the constructor's table).
    QLabel* title_;              // Label1: "費目設定"
    QLabel* background_;         // Imagemain: the skin
    platform::GridView* table_;  // maingrid: Enter walks its cells
    QPushButton* saveButton_;    // SpeedButton1: 保存して閉じる
    QPushButton* cancelButton_;  // SpeedButton2: キャンセル
    QPushButton* addButton_;     // SpeedButton3: 費目追加
    QPushButton* deleteButton_;  // SpeedButton4: 選択行削除
    QPushButton* focusSink_;     // focusbutton: takes the focus off the table
    QMenu* iconMenu_;            // PopupMenu1: ADD ICON, Del ICON

    std::optional<state::AppState> book_;  // the editor's copy
    SaveTable save_;
    platform::Prompts& prompts_;
    CategoryModel model_;
    bool closingByCommand_ = false;
    // The table differs from the file it was read from (a name, a kind, a row added or
    // deleted): Escape asks before it drops that.
    bool edited_ = false;
};

}  // namespace categories
