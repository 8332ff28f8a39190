#include "app/Module1.h"

namespace Module1 {

void reset() {
    strMidiFile.clear();
    intSpeed = 0;
    bytAnime = 0;
}

} // namespace Module1
