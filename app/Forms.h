#pragma once

#include "app/FormInstance.h"

class Form1;
class Form2;
class frmAbout;

// The program's three windows, each a single instance reached by its name.
namespace forms {

FormInstance<::Form1>& Form1();
FormInstance<::Form2>& Form2();
FormInstance<::frmAbout>& frmAbout();

// Destroys every loaded window without its unload handler: at the very end
// of the program, and between tests.
void destroyAll();

} // namespace forms
