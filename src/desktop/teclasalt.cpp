#include "teclasalt.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace desktop {

namespace {

bool recebeTexto(const QObject* objeto)
{
    return qobject_cast<const QLineEdit*>(objeto) || qobject_cast<const QAbstractSpinBox*>(objeto) ||
           qobject_cast<const QComboBox*>(objeto) || qobject_cast<const QTextEdit*>(objeto) ||
           qobject_cast<const QPlainTextEdit*>(objeto);
}

} // namespace

bool FiltroDeAlt::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() != QEvent::KeyPress || !recebeTexto(objeto))
        return false;
    const auto* tecla = static_cast<const QKeyEvent*>(evento);
    // Alt alone (with or without Shift); Ctrl+Alt is how some keyboards write their third characters (AltGr).
    const Qt::KeyboardModifiers modificadores = tecla->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    return modificadores == Qt::AltModifier && !tecla->text().isEmpty() && tecla->text().at(0).isPrint();
}

void instalaFiltroDeAlt()
{
    qApp->installEventFilter(new FiltroDeAlt(qApp));
}

} // namespace desktop
