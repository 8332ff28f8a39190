#pragma once

#include <QDropEvent>

// Files dragged onto a window from another program.
namespace FileDrop {

// Takes the drag or the drop: as a copy where the program the files come
// from offers one, else as it proposes. For a list of file names it is the
// receiver that would move the files, and Pelora moves nothing.
inline void accept(QDropEvent& event) {
    if (event.possibleActions() & Qt::CopyAction)
        event.setDropAction(Qt::CopyAction);
    event.accept();
}

} // namespace FileDrop
