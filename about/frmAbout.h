#pragma once

#include "app/FormBase.h"

#include <QFrame>
#include <QLabel>

// The About window: the program's name, version and copyright, a line
// inviting feedback and the web address. Nothing in it takes input: it is
// closed by its close box (or the system's close command).
class frmAbout : public FormBase {
    Q_OBJECT
public:
    frmAbout();

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QFrame* Line1;
    QLabel* Label4;
    QLabel* Label5;
};
