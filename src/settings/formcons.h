#pragma once

#include "controledados.h"

#include "calc/consistencylimits.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace widgets {
class CaixaTexto;
}

namespace platform {
class Database;
}

namespace settings {

// "Consistências e Abatimentos": the four slump limits (mm) between the five consistency classes of fresh concrete,
// kept in the first row of the table Consistencias. Loaded hidden at start-up and kept for the whole run; the
// consistency routines read the limits from it.
class FormCons : public QDialog
{
    Q_OBJECT
public:
    // Reads the limits from the shared database, which must be open. Throws DbError when they cannot be read.
    explicit FormCons(platform::Database& db, QWidget* parent = nullptr);

    // The limits stored in the current row (what was last saved, not what the boxes hold while the form is open);
    // the usual limits when the table has no row.
    calc::ConsistencyLimits limites() const;

    // ValorFator 0 to 3 (Abate1 to Abate4); null for another index.
    widgets::CaixaTexto* valorFator(int i) const;

signals:
    // Asks the main window to show its current mix again.
    void atualizaVista();

public slots:
    // "&Cancelar", Esc and closing the window: the stored limits go back into the boxes; nothing is written.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum Botao { Ok = 0, Cancelar = 1, Padrao = 2, Ajuda = 3 };
    static constexpr int NumeroDeLimites = 4;

    void BotaoFator_Click(int indice);
    void gravaLimites();
    void enterNaCaixa(int indice);

    std::array<widgets::CaixaTexto*, NumeroDeLimites> m_valorFator{};
    QLabel* m_fator4 = nullptr;
    std::array<QPushButton*, 4> m_botaoFator{};
    platform::Database& m_db;
    ControleDados m_dadoFator;
};

} // namespace settings
