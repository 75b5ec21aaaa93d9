#pragma once

#include "platform/caminhodad.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace app {

// Where this workstation's data folder is: a new folder (by default under Documents, with the demonstration mixes),
// a folder that already holds a catalogue, or a folder that connects to a PostgreSQL server. "Continuar" makes the
// folder ready and writes it down in a Caminho.dad; a refusal is explained and the window stays.
class PastaDeDados : public QDialog
{
    Q_OBJECT
public:
    // `atual` is the folder in use and the file it was read from (the menu's window); nothing at the first start.
    explicit PastaDeDados(std::optional<platform::CaminhoDad::Achado> atual, QWidget* pai = nullptr);

    // The folder written down, with its separator; empty until "Continuar" succeeds.
    const QString& pastaEscolhida() const { return m_escolhida; }
    const QString& arquivoGravado() const { return m_arquivo; }

    // Documents/Quenvar/; and for a new folder the first of it, "Quenvar 2/", "Quenvar 3/"… without a catalogue.
    static QString pastaSugerida();
    static QString pastaNovaSugerida();

private:
    void confirma();
    void habilitaOpcoes();
    QWidget* linhaDePasta(QLineEdit* caixa, const QString& nome);

    std::optional<platform::CaminhoDad::Achado> m_atual;
    QRadioButton* m_nova;
    QRadioButton* m_existente;
    QRadioButton* m_servidor;
    QLineEdit* m_pastaNova;
    QCheckBox* m_demo;
    QLineEdit* m_pastaExistente;
    QLineEdit* m_conexao;
    QLineEdit* m_pastaServidor;
    QString m_escolhida;
    QString m_arquivo;
};

// The first start without a Caminho.dad anywhere: the window above. The one written, or nothing when the user
// cancelled.
std::optional<platform::CaminhoDad::Achado> escolhePrimeiraPasta(QWidget* pai = nullptr);

// Arquivo › Pasta de dados…: true when another folder was written down, so that the program starts again in it.
bool trocaPastaDeDados(QWidget* pai);

// Whether the program was asked to start again once its windows close (after a change of data folder).
bool reinicioPedido();
void pedeReinicio(bool pedido);

} // namespace app
