#pragma once

#include <QDialog>
#include <QPoint>
#include "platform/gridview.h"

#include "categories/categorymodel.h"
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
    THIMOKUForm(state::AppState& state, platform::Prompts& prompts, const skin::SkinImages& skin,
                QWidget* parent = nullptr);

    CategoryModel& model() { return model_; }

    // Shows the editor on the category list file until the user closes it. The caller reads
    // the list again afterwards, saved or not.
    void Edit();

    // Reads the category list file into the table; false (the user told) when it cannot be
    // read, and the editor should not open.
    bool FormShow();

    // Commands, under their handler names.
    void SpeedButton1Click();  // 保存して閉じる
    void SpeedButton2Click();  // キャンセル
    void SpeedButton3Click();  // 費目追加
    void SpeedButton4Click();  // 選択行削除
    void ADDICON1Click();      // ADD ICON: the row under the last press
    void DelICON1Click();      // Del ICON

    QLabel* Label1;                // title "費目設定"
    QLabel* Imagemain;             // the skin
    platform::GridView* maingrid;  // the category table; Enter walks its cells
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton3;
    QPushButton* SpeedButton4;
    QPushButton* focusbutton;
    QMenu* PopupMenu1;  // ADD ICON, Del ICON

    // Called by the delegate when a cell's edit is finished; false refuses it.
    bool AcceptEdit(const QModelIndex& index, const QString& text);

protected:
    void reject() override;

private:
    void CloseByEscape();
    QPixmap RowIcon(int row) const;
    // The slot of the model row under the last press, or -1.
    int SlotUnderPress() const;

    state::AppState& state_;
    platform::Prompts& prompts_;
    CategoryModel model_;
    bool closingByCommand_ = false;
    // The table differs from the file it was read from (a name, a kind, a row added or
    // deleted): Escape asks before it drops that.
    bool edited_ = false;
};

}  // namespace categories
