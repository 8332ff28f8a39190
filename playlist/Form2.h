#pragma once

#include "app/FormBase.h"

// The playlist window.
class Form2 : public FormBase {
    Q_OBJECT
public:
    Form2();
};
