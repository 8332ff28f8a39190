#pragma once

#include "app/FormBase.h"
#include "platform/FileDialog.h"
#include "playlist/SortedListBox.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <memory>

// The playlist window: the sorted list of MIDI files, the animation switch
// and pace for the player's mascot, list files and the About window.
class Form2 : public FormBase {
    Q_OBJECT
public:
    Form2();

    void Form_Load() override;

    void chkAnime_Click();
    void hscSpeed_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void lstName_DblClick();
    void cmdSave_Click();
    void cmdLoad_Click();

    // chkAnime.Value: 0 unchecked, 1 checked, 2 grayed.
    int chkAnimeValue() const;
    void setChkAnimeValue(int value);

    // The controls, in tab order.
    QCheckBox* chkAnime;
    QScrollBar* hscSpeed;
    SortedListBox* lstName;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* cmdLoad;
    QPushButton* cmdSave;
    QPushButton* Command3;

    std::unique_ptr<FileDialog> CDC;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildDesign();
    void connectHandlers();
};
