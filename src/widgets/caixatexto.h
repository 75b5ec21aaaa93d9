#pragma once

#include "calc/numericentry.h"

#include <QLineEdit>

namespace widgets {

// The program's entry box: every key goes through the one key-rule function of the calculation (a "." typed as
// ",", a second "," refused, the digit filter for quantity boxes), entering the box selects its whole text, and
// Enter is handed to the window through enterPressionado() instead of being typed.
class CaixaTexto : public QLineEdit
{
    Q_OBJECT
public:
    explicit CaixaTexto(calc::KeyFilter filtro = calc::KeyFilter::CommaRules, QWidget* parent = nullptr);

    calc::KeyFilter filtro() const { return m_filtro; }
    void setFiltro(calc::KeyFilter filtro) { m_filtro = filtro; }

    // Shows a value worked out by the program. A box that already shows it is left alone: neither repainted nor
    // moved from where the user's cursor is.
    void mostra(const QString& texto)
    {
        if (texto != text())
            setText(texto);
    }

    // The number the box holds, read as every typed number is read (PontoDecimal and the leading number).
    double numero() const;

signals:
    void enterPressionado();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    calc::KeyFilter m_filtro;
    bool m_selecionarAoClicar = false;
};

} // namespace widgets
