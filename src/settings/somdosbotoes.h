#pragma once

#include <QObject>

class QAbstractButton;

namespace settings {

// The pointer sound of a row of buttons: coming onto a button other than the last one the pointer was on plays the
// pointer sound once; staying on it, or coming back to it from the form around it, plays nothing.
class SomDosBotoes : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    void acompanha(QAbstractButton* botao);
    // The form is shown again: the next button reached sounds whichever it is.
    void reinicia() { m_ultimo = nullptr; }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QObject* m_ultimo = nullptr;
};

} // namespace settings
