#pragma once

#include "controledados.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QComboBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace widgets {
class CaixaTexto;
}

namespace platform {
class Database;
}

namespace settings {

// "Dados dos Componentes e Tipos de Dosagem": the company's reference values for a new mix (the specific and bulk
// masses of cement and aggregates, the sand's moisture, labour and losses, the cement class and the three options
// that decide the calculation). They are the first row of the table Massas. Loaded hidden at start-up and kept for
// the whole run; its boxes and options are where inserting a mix and the wizard read the defaults.
class FormMass : public QDialog
{
    Q_OBJECT
public:
    // The boxes Texto 0 to 8, in the order of the fields of Massas.
    static constexpr int NumeroDeTextos = 9;

    // Reads the reference row from the shared database, which must be open. Throws DbError when it cannot be read.
    explicit FormMass(platform::Database& db, QWidget* parent = nullptr);

    // Texto 0 to 8: cement, fine and coarse aggregate masses (specific, bulk), the sand's moisture (%), the
    // labour (man-hours per m3) and the losses (%). Null for an index outside 0 to 8.
    widgets::CaixaTexto* texto(int i) const;
    QComboBox* classeCimento() const { return m_classeCimento; }
    // The selected element of each option group, the first found from 0 up: OpcaoForma (how the materials are
    // measured, the mix's Dosagem/Volumetrico code), OpcaoTextura (shape and texture of the coarse aggregate) and
    // TipoConcreto (use of the concrete).
    int opcaoForma() const;
    int opcaoTextura() const;
    int tipoConcreto() const;
    // The environmental aggressiveness class a new design is checked against (0 none, 1..4) and the kind of element
    // (0 reinforced, 1 prestressed).
    int classeAgressividade() const;
    int estrutura() const;

signals:
    // Asks the main window to show its current mix again.
    void atualizaVista();

public slots:
    // "&Cancelar", Esc and closing the window: the stored values go back into the boxes; nothing is written.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    enum Botao { Ok = 0, Cancelar = 1, Padrao = 2, Ajuda = 3 };

    QWidget* criaPaginaMassas();
    QWidget* criaPaginaDosagens();
    QWidget* criaPaginaUtilizacao();
    void criaBotoes();

    void BotaoDados_Click(int indice);
    // Tells the user about the first box that holds no plausible value and puts the focus there.
    bool valoresAceitos();
    void gravaDados();
    void voltaAoPadrao();
    void mostraAjuda();
    void selecionaOpcoes();
    void enterNaCaixa(int indice);

    std::array<widgets::CaixaTexto*, NumeroDeTextos> m_texto{};
    QComboBox* m_classeCimento = nullptr;
    QButtonGroup* m_opcaoForma = nullptr;
    QButtonGroup* m_opcaoTextura = nullptr;
    QButtonGroup* m_tipoConcreto = nullptr;
    QComboBox* m_classeAgressividade = nullptr;
    QComboBox* m_estrutura = nullptr;
    QTabWidget* m_pastinha = nullptr;
    std::array<QPushButton*, 4> m_botaoDados{};
    platform::Database& m_db;
    ControleDados m_dadoMassa;
    // The button the pointer last came onto, so that its sound plays once per arrival.
    int m_ultimoBotao = -1;
};

} // namespace settings
