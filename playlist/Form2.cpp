#include "playlist/Form2.h"

Form2::Form2() {
    setWindowTitle(QStringLiteral("MidiList"));
    setClientTwips(3495, 1305, 4695, 2520);
}
