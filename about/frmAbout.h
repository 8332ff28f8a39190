#pragma once

#include "app/FormBase.h"

// The About window.
class frmAbout : public FormBase {
    Q_OBJECT
public:
    frmAbout();
};
