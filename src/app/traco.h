#pragma once

#include "calc/calcstate.h"
#include "mixform/formtraco.h"
#include "printing/relatorio.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>

class QLabel;
class QMenu;
class QToolBar;

namespace settings {
class FormMass;
class FormCons;
} // namespace settings
namespace wizard {
class Mago;
}
namespace catalogview {
class ListaTracos;
}

namespace app {

class Sobre;

// The main window, the catalogue of concrete mixes. It holds the menus, the two tool bars and the status bar around
// the mix form, runs every command through one dispatcher and switches between viewing and editing. Loading it runs
// its whole set-up, which ends by raising the ready flag that the start-up form waits for.
class Traco : public QMainWindow, public mixform::JanelaTraco
{
    Q_OBJECT
public:
    using Operacao = mixform::FormTraco::Operacao;

    explicit Traco(platform::Database& db, QWidget* parent = nullptr);
    ~Traco() override;

    bool pronto() const { return m_pronto; }
    // The set-up met an error it cannot go on from; the window is of no use and the program ends.
    bool falhou() const { return m_falhou; }
    // Brings the window to the front, restored when it was minimised (a second copy of the program asked for it).
    void trazParaFrente();

    // The forms loaded after the main window, which its commands open.
    void defineFormularios(settings::FormMass* formMass, settings::FormCons* formCons, wizard::Mago* mago,
                           Sobre* sobre);

    mixform::FormTraco* form() const { return m_form; }
    // The catalogue as a list beside the form; the program gives it the comparison window (defineComparacao).
    catalogview::ListaTracos* lista() const { return m_lista; }
    // The mix chosen in the list shown in the form, once an insert or edit in progress is saved or left.
    void mostraDaLista(qint64 codigo);
    QAction* ferramenta(const QString& id) const { return m_acoes.value(id); }
    QMenu* menuDoId(const QString& id) const { return m_menus.value(id); }
    QToolBar* barra(int i) const { return m_barras[i]; }
    QString textoPainel(int painel) const;

    // The dispatcher: runs the command of a tool.
    void executa(const QString& id);
    void Modo(Operacao operacao) override;
    void MostraStatus(const QString& texto) override;
    void barraDeEdicao(bool editando) override;
    bool fechando() const override { return m_fechando; }
    calc::Padroes padroes() const override;
    void MenuBotao(QWidget* controle);
    // The pop-up menu MenuBotao showed last ("ID_EditarE" or "ID_ArquivoE").
    QString ultimoMenuBotao() const { return m_ultimoMenuBotao; }
    // The control the right-button menu on screen speaks of (nothing when no such menu is open).
    QWidget* controleDoMenu() const { return m_controleDoMenu; }
    void RotinaMassa();
    void RotinaAbatimento();
    // "Fatores de Emissão (CO₂)": the form is read afresh each time, the products may have changed meanwhile.
    void RotinaFatoresCO2();
    void RotinaTraco();
    void RotinaAssistente();
    void MostraPasta();
    // What happens each time the window becomes the program's active window.
    void ativacao();
    // Starts the suite module with that number (1 to 10) and resets the module to start.
    void RodandoModulo(int modulo);
    // Arquivo › Pasta de dados…: another folder chosen closes the program, which starts again in it.
    void TrocandoPastaDeDados();
    // The company's name, shown by the about box.
    void defineEmpresa(const QString& empresa) { m_empresa = empresa; }
    // The report viewer and the sheet preview, once the program has them: the report number (1 all mixes, 2 the
    // mixes in use) and the current mix's sheet.
    void defineRelatorios(std::function<void(printing::TipoRelatorio)> mostraRelatorio)
    {
        m_mostraRelatorio = std::move(mostraRelatorio);
    }
    void defineFicha(std::function<void()> imprimeEste) { m_imprimeEste = std::move(imprimeEste); }
    void ImprimindoEste();
    // The variants of the current mix's name side by side.
    void ComparandoVariantes();
    void CalculandoBetonada();
    // The Abrams chart of the mix: as the boxes hold it while it is inserted or edited, otherwise as stored.
    void MostrandoAbrams();
    void MostraRelatorio(printing::TipoRelatorio relatorio);

    // Window state kept for the whole run.
    QString modoTexto;
    bool ocupado = false;
    bool arquivoMorto = false;
    // The data folder is protected against writing: the catalogue is opened for browsing only.
    bool somenteLeitura = false;
    QString logotipo;
    int moduloAIniciar = 0;
    QString usuario;
    calc::CalcState estado;

    // The tool bars are the program's own: the user may not hide, move or rearrange them.
    QMenu* createPopupMenu() override { return nullptr; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    // Runs something about the mix shown (its sheet, the comparison of its variants): on an empty catalogue only the
    // message; afterwards the catalogue stands at the same mix.
    void sobreEsteTraco(const std::function<void()>& acao);
    void montaComandos();
    void montaFerramentas();
    void montaBarraDeStatus();
    void configura();
    void habilita(const QString& id, bool habilitado);
    // An archive or a protected data folder: nothing may be written, so the tools that write stay disabled.
    bool somenteConsulta() const { return arquivoMorto || somenteLeitura; }
    void Enter();
    void teclaDaJanela(QKeyEvent* evento, QWidget* alvo, bool& consumida);
    void abreFormulario(QDialog* formulario);
    void mostraOQueE(QWidget* controle);
    void voltaDeOutraJanela();
    // Menu "Traços" checked or unchecked: the form and its tools shown or put away.
    void alternaTracos();
    void RotinaSobre();
    void RotinaTodosTracos();
    void RotinaTracosEmUso();
    // Re-costs the catalogue from today's prices (atualizacustos.cpp).
    void RotinaAtualizarCustos();
    // A mix being inserted or edited is saved, left, or kept (the user cancelled, or the save was refused): true
    // when the form is no longer editing.
    bool terminaEdicao();

    platform::Database& m_db;
    mixform::FormTraco* m_form = nullptr;
    catalogview::ListaTracos* m_lista = nullptr;
    QHash<QString, QAction*> m_acoes;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, bool> m_desejado;
    // The commands this version carries out, each with its routine; the others stay disabled whatever the mode
    // asks.
    QHash<QString, std::function<void()>> m_comandos;
    std::array<QToolBar*, 2> m_barras{};
    std::array<QLabel*, 4> m_paineis{};
    QMenu* m_editarE = nullptr;
    QMenu* m_arquivoE = nullptr;
    QPointer<QWidget> m_controleDoMenu;
    QPointer<settings::FormMass> m_formMass;
    QPointer<settings::FormCons> m_formCons;
    QPointer<wizard::Mago> m_mago;
    QPointer<Sobre> m_sobre;
    bool m_pronto = false;
    bool m_falhou = false;
    bool m_fechando = false;
    bool m_ativadaUmaVez = false;
    bool m_ocupaATela = false;
    QString m_ultimoMenuBotao;
    QString m_empresa;
    std::function<void(printing::TipoRelatorio)> m_mostraRelatorio;
    std::function<void()> m_imprimeEste;
};

} // namespace app
