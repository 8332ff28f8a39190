#pragma once

#include "core/FileDialog.h"
#include "core/WindowBase.h"
#include "state/SharedState.h"

#include <QList>
#include <QUrl>

#include <memory>

class PlayerControl;
class QCheckBox;
class QPushButton;
class QScrollBar;
class SortedListBox;
class UserMessages;
class WindowHandle;

// The playlist window: the sorted list of MIDI files, the switch and pace of
// the player's mascot, list files and the About button.
//
// Controls carry object names (animationBox, speedBar, list, addButton,
// removeButton, loadButton, saveButton, aboutButton) by which tests find them.
class PlaylistWindow : public WindowBase {
    Q_OBJECT
public:
    PlaylistWindow(SharedState& state, PlayerControl& player, WindowHandle& about,
                   const FileDialog::Factory& makeFileDialog, UserMessages& messages);
    ~PlaylistWindow() override;

    void loaded() override;

    void animationSwitched();
    void speedChanged();
    // Adds the player's current file at its sorted place.
    void addCurrentFile();
    // Removes the selected entry; nothing happens when none is selected.
    void removeSelected();
    void showAbout();
    // Plays the selected entry (a double-click on it, or Return).
    void playEntry();
    void saveList();
    void loadList();

    // Files chosen elsewhere (the command line, a second start, a drop):
    // each added at its sorted place as the add button adds, and a list file loaded
    // as the list load button loads the one chosen in its dialog.
    void addFiles(const QStringList& files);
    void loadListFile(const QString& fileName);

    // The entry just after or before the player's current file in the
    // list's order, chosen and played as a double-click on it would; the
    // media keys' next and previous. Nothing when there is none; with
    // `wrapAround`, past the last entry comes the first, and before the
    // first the last (the list played round and round).
    void playNext(bool wrapAround = false);
    void playPrevious(bool wrapAround = false);
    bool hasNext(bool wrapAround = false) const;
    bool hasPrevious(bool wrapAround = false) const;

signals:
    // Entries were added to the list or removed from it.
    void listChanged();
    // Local files were dropped on the window, of which it takes MIDI files
    // and list files; whoever opens them does so after the drop.
    void filesDropped(const QList<QUrl>& urls);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Local MIDI files and list files may be dropped on the window.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildDesign();
    void connectCommands();
    void readListFile(const QString& fileName);
    // The index of the entry `step` (1 or -1) from the current file; -1: none.
    int neighbourOfCurrentFile(int step, bool wrapAround) const;
    void playNeighbour(int step, bool wrapAround);
    AnimationSwitch animationSwitch() const;

    SharedState& state_;
    PlayerControl& player_;
    WindowHandle& about_;

    // In tab order.
    QCheckBox* animationBox_ = nullptr;
    QScrollBar* speedBar_ = nullptr;
    SortedListBox* list_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* aboutButton_ = nullptr;

    std::unique_ptr<FileDialog> listDialog_;
    UserMessages& messages_;
};
