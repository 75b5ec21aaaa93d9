#pragma once

#include <QObject>

namespace desktop {

// Alt with a letter presses the button or opens the menu whose caption has that letter underlined. When nothing
// enabled answers to it (the wizard's "Avançar" is disabled on its last page), Qt hands the key to the box that has
// the focus, and the letter would take the place of what the user typed there. Installed on the application, this
// filter drops those keys before a text box gets them; a shortcut that answers has taken the key already.
class FiltroDeAlt : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
};

// Installs one filter on the running application.
void instalaFiltroDeAlt();

} // namespace desktop
