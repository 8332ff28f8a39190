#include "app/Forms.h"

#include "about/frmAbout.h"
#include "player/Form1.h"
#include "playlist/Form2.h"

namespace forms {

FormInstance<::Form1>& Form1() {
    static FormInstance<::Form1> instance;
    return instance;
}

FormInstance<::Form2>& Form2() {
    static FormInstance<::Form2> instance;
    return instance;
}

FormInstance<::frmAbout>& frmAbout() {
    static FormInstance<::frmAbout> instance;
    return instance;
}

void destroyAll() {
    frmAbout().destroy();
    Form2().destroy();
    Form1().destroy();
}

} // namespace forms
