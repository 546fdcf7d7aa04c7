#pragma once

#include <QCoreApplication>

class QLineEdit;

// The main window's password field: it shows a dot for each character, and a checkable
// eye at its right end shows the text while it is checked. Every start begins hidden; the
// text itself is never changed.
class CPasswordReveal
{
    Q_DECLARE_TR_FUNCTIONS(CPasswordReveal)

public:
    // Hides edit's text and adds the eye ("Show password"), owned by edit.
    // The text shows while edit's echo mode is QLineEdit::Normal.
    static void Attach(QLineEdit& edit);
};
