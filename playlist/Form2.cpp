#include "playlist/Form2.h"

#include "about/frmAbout.h"
#include "app/ErrorModel.h"
#include "app/Errors.h"
#include "app/Forms.h"
#include "app/Module1.h"
#include "app/Platform.h"
#include "app/UserMessage.h"
#include "player/Form1.h"
#include "playlist/ListFile.h"

#include <QIcon>
#include <QPainter>
#include <QSignalBlocker>

namespace {

void placeTwips(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

void whiteOnBlack(QWidget* control, QPalette::ColorRole background, QPalette::ColorRole text) {
    QPalette colours = control->palette();
    colours.setColor(background, Qt::black);
    colours.setColor(text, Qt::white);
    control->setPalette(colours);
}

QPushButton* button(QWidget* form, const QString& caption, int left, int top) {
    auto* control = new QPushButton(caption, form);
    placeTwips(control, left, top, 615, 255);
    return control;
}

// As the timer's Enabled switch: switching on a running timer does not restart its count.
void setTimerEnabled(QTimer& timer, bool enabled) {
    if (!enabled)
        timer.stop();
    else if (!timer.isActive())
        timer.start();
}

// Runs the steps of "保存" or "読込". A cancelled dialog ends them silently.
// Any other failure is told to the user with the list file's name and the
// reason; the steps read or write the whole file before they touch the list
// or the caption, so nothing has changed by then.
template <class Steps> void listFileCommand(const QString& failureHeading, Steps steps) {
    ErrorModel::trap([&] {
        QString fileName;
        try {
            steps(fileName);
        } catch (const DialogCancelled&) {
        } catch (const ListFileError& error) {
            UserMessage::show(failureHeading + QStringLiteral("\n\n") + error.message());
        } catch (...) {
            UserMessage::show(failureHeading +
                              QStringLiteral("\n\n%1\n%2")
                                  .arg(fileName, ErrorModel::describe(std::current_exception())));
        }
    });
}

} // namespace

Form2::Form2()
    : CDC(platform().makeFileDialog(QStringLiteral("演奏リスト(*.lst)|*.lst|全てのファイル|*.*"))) {
    buildDesign();
    connectHandlers();
}

void Form2::buildDesign() {
    setWindowTitle(QStringLiteral("MidiList"));
    // A tool window stays out of the task bar; only the close box is offered.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(QIcon(QStringLiteral(":/icon/pelora.ico")));
    setClientTwips(3495, 1305, 4695, 2520);

    chkAnime = new QCheckBox(QStringLiteral("アニメーション"), this);
    placeTwips(chkAnime, 1, 1920, 1455, 255);
    chkAnime->setChecked(true);
    // A button fills with the button colour unless told otherwise.
    chkAnime->setBackgroundRole(QPalette::Window);
    chkAnime->setAutoFillBackground(true);
    whiteOnBlack(chkAnime, QPalette::Window, QPalette::WindowText);

    hscSpeed = new QScrollBar(Qt::Horizontal, this);
    placeTwips(hscSpeed, 0, 2200, 1815, 225);
    hscSpeed->setRange(1, 1000);
    hscSpeed->setSingleStep(1);
    hscSpeed->setPageStep(10);
    hscSpeed->setValue(500);
    // A drag reports its value once, when the thumb is released.
    hscSpeed->setTracking(false);
    hscSpeed->setFocusPolicy(Qt::TabFocus);

    lstName = new SortedListBox(this);
    placeTwips(lstName, 0, 0, 4695, 1860);
    whiteOnBlack(lstName, QPalette::Base, QPalette::Text);

    Command1 = button(this, QStringLiteral("追加"), 3000, 1920);
    Command2 = button(this, QStringLiteral("削除"), 3000, 2160);
    cmdLoad = button(this, QStringLiteral("読込"), 2040, 1920);
    cmdSave = button(this, QStringLiteral("保存"), 2040, 2160);
    Command3 = button(this, QStringLiteral("About"), 3840, 1920);

    const QList<QWidget*> tabOrder{chkAnime, hscSpeed, lstName, Command1,
                                   Command2, cmdLoad,  cmdSave, Command3};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    chkAnime->setFocus();
}

void Form2::connectHandlers() {
    const auto route = [this](void (Form2::*handler)()) {
        return [this, handler] { ErrorModel::event([this, handler] { (this->*handler)(); }); };
    };
    connect(chkAnime, &QCheckBox::stateChanged, this, route(&Form2::chkAnime_Click));
    connect(hscSpeed, &QScrollBar::valueChanged, this, route(&Form2::hscSpeed_Change));
    connect(lstName, &SortedListBox::DblClick, this, route(&Form2::lstName_DblClick));
    connect(Command1, &QPushButton::clicked, this, route(&Form2::Command1_Click));
    connect(Command2, &QPushButton::clicked, this, route(&Form2::Command2_Click));
    connect(cmdLoad, &QPushButton::clicked, this, route(&Form2::cmdLoad_Click));
    connect(cmdSave, &QPushButton::clicked, this, route(&Form2::cmdSave_Click));
    connect(Command3, &QPushButton::clicked, this, route(&Form2::Command3_Click));
}

void Form2::paintEvent(QPaintEvent*) {
    // Painted rather than set in the palette, which the buttons and the bar
    // would inherit: they keep the system's colours.
    QPainter(this).fillRect(rect(), Qt::black);
}

int Form2::chkAnimeValue() const {
    switch (chkAnime->checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        break;
    }
    return 2;
}

void Form2::setChkAnimeValue(int value) {
    chkAnime->setCheckState(value == 0   ? Qt::Unchecked
                            : value == 1 ? Qt::Checked
                                         : Qt::PartiallyChecked);
}

void Form2::Form_Load() {
    // The design already holds these values, so loading the window never
    // reaches bytAnime, intSpeed or the player's timer.
    const QSignalBlocker boxQuiet(chkAnime);
    const QSignalBlocker barQuiet(hscSpeed);
    setChkAnimeValue(1);
    hscSpeed->setValue(500);
}

void Form2::chkAnime_Click() {
    Module1::bytAnime = static_cast<uint8_t>(chkAnimeValue());
    if (Module1::bytAnime == 1)
        setTimerEnabled(forms::Form1()->Timer, true);
    else if (Module1::bytAnime == 0)
        setTimerEnabled(forms::Form1()->Timer, false);
}

void Form2::hscSpeed_Change() {
    Module1::intSpeed = static_cast<int16_t>(hscSpeed->value());
    forms::Form1()->Timer.setInterval(Module1::intSpeed);
}

void Form2::Command1_Click() {
    // Adding past the limit would fail untrapped and end the program with
    // the unsaved list: say so instead and leave the list as it is.
    if (lstName->ListCount() >= SortedList::MaxEntries) {
        UserMessage::show(
            QStringLiteral("演奏リストがいっぱいです。\n\n登録できるのは %1 件までです。")
                .arg(SortedList::MaxEntries));
        return;
    }
    lstName->AddItem(Module1::strMidiFile);
}

void Form2::Command2_Click() {
    ErrorModel::trap([this] {
        const int index = lstName->ListIndex();
        lstName->RemoveItem(index);
    });
}

void Form2::Command3_Click() {
    forms::frmAbout().showModal();
}

void Form2::lstName_DblClick() {
    Module1::strMidiFile = lstName->Text();
    forms::Form1()->cmdPlay_Click();
}

void Form2::cmdSave_Click() {
    listFileCommand(QStringLiteral("演奏リストを保存できませんでした。"),
                    [this](QString& fileName) {
                        CDC->ShowSave();
                        fileName = CDC->FileName();
                        ListFile::save(fileName, lstName->entries());
                        setCaption(CDC->FileName());
                    });
}

void Form2::cmdLoad_Click() {
    listFileCommand(QStringLiteral("演奏リストを読み込めませんでした。"),
                    [this](QString& fileName) {
                        CDC->ShowOpen();
                        fileName = CDC->FileName();
                        const QStringList entries = ListFile::load(fileName);
                        lstName->Clear();
                        lstName->AddItems(entries);
                        setCaption(CDC->FileName());
                    });
}
