#include "caixatexto.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

namespace widgets {

CaixaTexto::CaixaTexto(calc::KeyFilter filtro, QWidget* parent) : QLineEdit(parent), m_filtro(filtro) {}

double CaixaTexto::numero() const
{
    return calc::readNumber(text());
}

void CaixaTexto::keyPressEvent(QKeyEvent* event)
{
    // Editing and moving keys (arrows, Home, Delete, the clipboard shortcuts) keep their usual meaning; only the
    // keys that type a character, Enter, Backspace, Tab and line feed go through the key rules.
    int tecla = -1;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        tecla = 13;
    else if (event->key() == Qt::Key_Backspace)
        tecla = 8;
    else if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        tecla = -1;
    else if (event->text().size() == 1 && event->text().at(0).isPrint())
        tecla = event->text().at(0).unicode();
    if (tecla < 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }

    const int inicio = hasSelectedText() ? selectionStart() : cursorPosition();
    const int tamanho = hasSelectedText() ? int(selectedText().size()) : 0;
    const calc::KeyResult resultado = calc::applyKey(text(), inicio, tamanho, tecla, m_filtro);
    switch (resultado.action) {
    case calc::KeyResult::Action::Edit:
        if (isReadOnly())
            break;
        // Through the undo stack and textEdited, as a typed key would.
        selectAll();
        insert(resultado.text);
        setCursorPosition(resultado.cursor);
        break;
    case calc::KeyResult::Action::Enter:
        emit enterPressionado();
        break;
    case calc::KeyResult::Action::Pass:
        QLineEdit::keyPressEvent(event);
        break;
    case calc::KeyResult::Action::Discard:
        break;
    }
    event->accept();
}

void CaixaTexto::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const auto [inicio, tamanho] = calc::selectionOnEntry(text());
    setSelection(inicio, tamanho);
    // A click that brought the focus would otherwise put the cursor where it fell and lose the selection.
    m_selecionarAoClicar = event->reason() == Qt::MouseFocusReason;
}

void CaixaTexto::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (m_selecionarAoClicar) {
        m_selecionarAoClicar = false;
        const auto [inicio, tamanho] = calc::selectionOnEntry(text());
        setSelection(inicio, tamanho);
    }
}

void CaixaTexto::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ReadOnlyChange) {
        // A box that only shows a value looks like a page, not like a place to type.
        QPalette cores = palette();
        const QPalette padrao = QApplication::palette(this);
        cores.setColor(QPalette::Base,
                       isReadOnly() ? padrao.color(QPalette::Window).lighter(104) : padrao.color(QPalette::Base));
        setPalette(cores);
    }
}

} // namespace widgets
