#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPoint>

#include <array>

class QLabel;
class QToolButton;

namespace app {

// The about box: a borderless window made of one picture with the program's name, version, description and the
// company name on it, a help button (the suite's topic 30020) and a close button. It is dragged by its face.
class Sobre : public QDialog
{
    Q_OBJECT
public:
    explicit Sobre(const QString& empresa, QWidget* parent = nullptr);

    // Major, ".", the minor number as two digits, ".", the revision as "00" followed by the number cut to its last
    // four characters: 1, 2, 5 give 1.02.005; 1, 2, 12 give 1.02.0012; 1, 2, 123 give 1.02.0123.
    static QString textoVersao(int maior, int menor, int revisao);
    // The program's version in that form.
    static QString versaoDoPrograma();
    // Product name and description, as the executable's version information gives them.
    static QString nomeProduto();
    static QString descricao();

    // The help topic of the help button.
    static constexpr int TopicoDeAjuda = 30020;

    // The face of the window, drawn by the program.
    static QPixmap desenhaImagem();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QLabel* Imagem = nullptr;
    QLabel* VerNomeProduto = nullptr;
    QLabel* VerVersao = nullptr;
    QLabel* VerDescricao = nullptr;
    QLabel* NomeEmpresa = nullptr;
    std::array<QToolButton*, 2> Botao{};

    bool m_arrastando = false;
    QPoint m_pega;
};

} // namespace app
