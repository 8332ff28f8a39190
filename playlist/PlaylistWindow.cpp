#include "playlist/PlaylistWindow.h"

#include "core/DesignFonts.h"
#include "core/ErrorModel.h"
#include "core/Errors.h"
#include "core/FileDrop.h"
#include "core/ProgramIcon.h"
#include "core/UserMessages.h"
#include "core/WindowInstance.h"
#include "playlist/FocusFramedScrollBar.h"
#include "playlist/ListFile.h"
#include "playlist/PlayerControl.h"
#include "playlist/SortedListBox.h"
#include "system/IncomingFiles.h"
#include "texts/Texts.h"

#include <QCheckBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

namespace {

void whiteOnBlack(QWidget* control, QPalette::ColorRole background, QPalette::ColorRole text) {
    QPalette colours = control->palette();
    colours.setColor(background, Qt::black);
    colours.setColor(text, Qt::white);
    control->setPalette(colours);
}

QPushButton* button(QWidget* window, const char* name, const QString& caption, int left, int top) {
    auto* control = new QPushButton(caption, window);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(twipsRect(left, top, 615, 255));
    // Return presses the focused button, as Space does.
    control->setAutoDefault(true);
    return control;
}

// Runs the steps of the list save or load button. A cancelled dialog ends them silently.
// Any other failure is told to the user with the list file's name and the
// reason; the steps read or write the whole file before they touch the list
// or the caption, so nothing has changed by then.
template <class Steps>
void listFileCommand(UserMessages& messages, const QString& failureHeading, Steps steps) {
    ErrorModel::trap([&] {
        QString fileName;
        try {
            steps(fileName);
        } catch (const DialogCancelled&) {
        } catch (const ListFileError& error) {
            messages.show(failureHeading + QStringLiteral("\n\n") + error.message());
        } catch (...) {
            messages.show(failureHeading +
                          QStringLiteral("\n\n%1\n%2")
                              .arg(fileName, ErrorModel::describe(std::current_exception())));
        }
    });
}

} // namespace

PlaylistWindow::PlaylistWindow(SharedState& state, PlayerControl& player, WindowHandle& about,
                               const FileDialog::Factory& makeFileDialog, UserMessages& messages)
    : state_(state), player_(player), about_(about),
      listDialog_(makeFileDialog(Texts::listFileFilter(), QStringLiteral("listFiles"))),
      messages_(messages) {
    buildDesign();
    connectCommands();
    setAcceptDrops(true);
}

PlaylistWindow::~PlaylistWindow() = default;

void PlaylistWindow::buildDesign() {
    setWindowTitle(QStringLiteral("MidiList"));
    // A tool window stays out of the task bar; only the close box is offered.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(ProgramIcon::icon());
    setClientTwips(3495, 1305, 4695, 2520);

    animationBox_ = new QCheckBox(QStringLiteral("アニメーション"), this);
    animationBox_->setObjectName(QStringLiteral("animationBox"));
    animationBox_->setGeometry(twipsRect(1, 1920, 1455, 255));
    animationBox_->setChecked(true);
    // A button fills with the button colour unless told otherwise.
    animationBox_->setBackgroundRole(QPalette::Window);
    animationBox_->setAutoFillBackground(true);
    whiteOnBlack(animationBox_, QPalette::Window, QPalette::WindowText);

    speedBar_ = new FocusFramedScrollBar(Qt::Horizontal, this);
    speedBar_->setObjectName(QStringLiteral("speedBar"));
    speedBar_->setGeometry(twipsRect(0, 2200, 1815, 225));
    speedBar_->setRange(1, 1000);
    speedBar_->setSingleStep(1);
    speedBar_->setPageStep(10);
    speedBar_->setValue(500);
    // A drag reports its value once, when the thumb is released.
    speedBar_->setTracking(false);
    // A click on the bar gives it the focus, so that the keys then move it.
    speedBar_->setFocusPolicy(Qt::StrongFocus);

    list_ = new SortedListBox(this);
    list_->setObjectName(QStringLiteral("list"));
    list_->setGeometry(twipsRect(0, 0, 4695, 1860));
    whiteOnBlack(list_, QPalette::Base, QPalette::Text);

    addButton_ = button(this, "addButton", QStringLiteral("追加"), 3000, 1920);
    removeButton_ = button(this, "removeButton", QStringLiteral("削除"), 3000, 2160);
    loadButton_ = button(this, "loadButton", QStringLiteral("読込"), 2040, 1920);
    saveButton_ = button(this, "saveButton", QStringLiteral("保存"), 2040, 2160);
    aboutButton_ = button(this, "aboutButton", QStringLiteral("About"), 3840, 1920);

    const QList<QWidget*> tabOrder{animationBox_, speedBar_,   list_,       addButton_,
                                   removeButton_, loadButton_, saveButton_, aboutButton_};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    // Each control is given the font itself, not through the window: a font
    // the desktop sets for a kind of control would mix with the window's.
    for (QWidget* control : tabOrder)
        control->setFont(DesignFonts::systemFont());
    animationBox_->setFocus();

    const Texts::ControlText speed = Texts::control(Texts::Control::SpeedBar);
    speedBar_->setAccessibleName(speed.name);
    speedBar_->setToolTip(speed.tip);
    list_->setAccessibleName(Texts::control(Texts::Control::List).name);
}

void PlaylistWindow::connectCommands() {
    route(animationBox_, &QCheckBox::stateChanged, &PlaylistWindow::animationSwitched);
    route(speedBar_, &QScrollBar::valueChanged, &PlaylistWindow::speedChanged);
    route(list_, &SortedListBox::entryChosen, &PlaylistWindow::playEntry);
    route(list_, &SortedListBox::removalAsked, &PlaylistWindow::removeSelected);
    route(addButton_, &QPushButton::clicked, &PlaylistWindow::addCurrentFile);
    route(removeButton_, &QPushButton::clicked, &PlaylistWindow::removeSelected);
    route(loadButton_, &QPushButton::clicked, &PlaylistWindow::loadList);
    route(saveButton_, &QPushButton::clicked, &PlaylistWindow::saveList);
    route(aboutButton_, &QPushButton::clicked, &PlaylistWindow::showAbout);
    connect(list_, &SortedListBox::entriesChanged, this, &PlaylistWindow::listChanged);
}

void PlaylistWindow::paintEvent(QPaintEvent*) {
    // Painted rather than set in the palette, which the buttons and the bar
    // would inherit: they keep the system's colours.
    QPainter(this).fillRect(rect(), Qt::black);
}

AnimationSwitch PlaylistWindow::animationSwitch() const {
    switch (animationBox_->checkState()) {
    case Qt::Unchecked:
        return AnimationSwitch::Off;
    case Qt::Checked:
        return AnimationSwitch::On;
    case Qt::PartiallyChecked:
        break;
    }
    return AnimationSwitch::Mixed;
}

void PlaylistWindow::loaded() {
    // The design already holds these values, so loading the window never
    // reaches the shared state or the player's animation.
    const QSignalBlocker boxQuiet(animationBox_);
    const QSignalBlocker barQuiet(speedBar_);
    animationBox_->setCheckState(Qt::Checked);
    speedBar_->setValue(500);
}

void PlaylistWindow::animationSwitched() {
    state_.animation = animationSwitch();
    if (state_.animation == AnimationSwitch::On)
        player_.startAnimation();
    else if (state_.animation == AnimationSwitch::Off)
        player_.stopAnimation();
}

void PlaylistWindow::speedChanged() {
    state_.frameInterval = static_cast<std::int16_t>(speedBar_->value());
    player_.setFrameInterval(state_.frameInterval);
}

void PlaylistWindow::addCurrentFile() {
    addFiles({state_.currentFile});
}

void PlaylistWindow::addFiles(const QStringList& files) {
    // Adding past the limit would fail untrapped and end the program with
    // the unsaved list: add what fits, say so, and leave the rest out.
    const qsizetype room = SortedList::MaxEntries - list_->count();
    const QStringList fitting = files.first(std::min(room, files.size()));
    // A single entry goes in as a row of its own, which keeps the selection;
    // many go in together, sorted once.
    if (fitting.size() == 1)
        list_->add(fitting.first());
    else
        list_->addAll(fitting);
    if (files.size() > room)
        messages_.show(Texts::listFull(SortedList::MaxEntries));
}

void PlaylistWindow::removeSelected() {
    ErrorModel::trap([this] { list_->removeAt(list_->selectedIndex()); });
}

void PlaylistWindow::showAbout() {
    about_.showModal();
}

void PlaylistWindow::playEntry() {
    state_.currentFile = list_->selectedEntry();
    player_.play();
}

int PlaylistWindow::neighbourOfCurrentFile(int step, bool wrapAround) const {
    const int index = list_->list().neighbour(state_.currentFile, list_->selectedIndex(), step);
    if (index >= 0 || !wrapAround || list_->count() == 0)
        return index;
    return step > 0 ? 0 : list_->count() - 1;
}

bool PlaylistWindow::hasNext(bool wrapAround) const {
    return neighbourOfCurrentFile(1, wrapAround) >= 0;
}

bool PlaylistWindow::hasPrevious(bool wrapAround) const {
    return neighbourOfCurrentFile(-1, wrapAround) >= 0;
}

void PlaylistWindow::playNext(bool wrapAround) {
    playNeighbour(1, wrapAround);
}

void PlaylistWindow::playPrevious(bool wrapAround) {
    playNeighbour(-1, wrapAround);
}

void PlaylistWindow::playNeighbour(int step, bool wrapAround) {
    const int index = neighbourOfCurrentFile(step, wrapAround);
    if (index < 0)
        return;
    list_->select(index);
    playEntry();
}

void PlaylistWindow::saveList() {
    listFileCommand(messages_, Texts::listNotSaved(), [this](QString& fileName) {
        listDialog_->showSave();
        fileName = listDialog_->fileName();
        ListFile::save(fileName, list_->entries());
        setCaption(listDialog_->fileName());
    });
}

void PlaylistWindow::loadList() {
    listFileCommand(messages_, Texts::listNotLoaded(), [this](QString& fileName) {
        listDialog_->showOpen();
        fileName = listDialog_->fileName();
        readListFile(fileName);
    });
}

void PlaylistWindow::loadListFile(const QString& fileName) {
    listFileCommand(messages_, Texts::listNotLoaded(), [this, &fileName](QString& failedName) {
        failedName = fileName;
        readListFile(fileName);
    });
}

void PlaylistWindow::readListFile(const QString& fileName) {
    const QStringList entries = ListFile::load(fileName);
    list_->clear();
    list_->addAll(entries);
    setCaption(fileName);
}

namespace {

bool takes(const QMimeData& drag) {
    return !IncomingFiles::fromDrag(drag.urls()).isEmpty();
}

} // namespace

void PlaylistWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (takes(*event->mimeData()))
        FileDrop::accept(*event);
}

// Only a drag the window took at its entry ends in a drop here.
void PlaylistWindow::dropEvent(QDropEvent* event) {
    FileDrop::accept(*event);
    emit filesDropped(event->mimeData()->urls());
}
