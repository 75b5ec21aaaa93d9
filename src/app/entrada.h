#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace settings {
class FormMass;
class FormCons;
} // namespace settings
namespace wizard {
class Mago;
}

namespace app {

class Traco;
class Sobre;

// The windows loaded at start-up and kept, hidden, for the whole run.
struct Formularios
{
    std::unique_ptr<Traco> traco;
    std::unique_ptr<Sobre> sobre;
    std::unique_ptr<settings::FormMass> formMass;
    std::unique_ptr<settings::FormCons> formCons;
    std::unique_ptr<wizard::Mago> mago;

    Formularios();
    ~Formularios();
    void descarrega();
};

// The start-up form: finds the data folder through Caminho.dad, checks and opens the shared database, reads the
// company's name, loads the program's windows while it is on screen and hands over to the main window.
class Entrada : public QWidget
{
    Q_OBJECT
public:
    explicit Entrada(Formularios& formularios, QWidget* parent = nullptr);
    ~Entrada() override;

    // The start-up sequence after the single-instance check. False when the program must end (the user has been
    // told why); true when the main window is being loaded and the timer will hand over to it.
    bool inicia();

    const QString& nomeEmpresa() const { return m_nomeEmpresa; }

    // Test form of the database check: 0 when the database at the path opens, else the engine's error number.
    static int AbrindoBanco(const QString& caminho);

signals:
    // The main window has been shown and the start-up form has gone.
    void entregue();

private:
    // Tells the user the database could not be opened and unloads what was loaded; false.
    bool naoAbriu();
    void carregaFormularios();
    void tiqueTimer();
    QPixmap desenhaSelo() const;

    QLabel* m_selo;
    QLabel* m_nomeProg;
    QLabel* m_empresa;
    QTimer m_timer1;
    QString m_nomeEmpresa;
    Formularios& m_formularios;
};

} // namespace app
