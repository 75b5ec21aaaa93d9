#pragma once

#include <QDockWidget>
#include <QList>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace platform {
class Database;
}
namespace catalogue {
class ModeloLista;
}

namespace catalogview {

// The catalogue as a list beside the mix form: a box to search names, the "Só em uso" switch, the table of mixes
// (sorted by a click on a column's title) and how many mixes it shows. Enter or a double click on a line asks for
// that mix in the form (escolhido); the window decides whether the form may leave the mix it shows. Two to four
// lines chosen can be compared side by side.
class ListaTracos : public QDockWidget
{
    Q_OBJECT
public:
    // How many mixes the comparison takes at once.
    static constexpr int MenosComparados = 2;
    static constexpr int MaisComparados = 4;

    explicit ListaTracos(platform::Database& db, QWidget* parent = nullptr);
    ~ListaTracos() override;

    // Reads the catalogue; errors are shown to the user and leave the list empty. The list reads it by itself the
    // first time it is shown.
    void abre();
    // Reads it again after a write, keeping the line the user stood on when the mix is still there; a list put
    // away reads it when it is shown again.
    void recarrega();
    // Where the comparison window is opened with the keys of the lines chosen, in the list's order.
    void defineComparacao(std::function<void(QList<qint64>)> comparacao) { m_comparacao = std::move(comparacao); }
    // The search box takes the focus (Ctrl+F), the list shown first when it was hidden.
    void procura();
    // Compares the lines chosen, when there are two to four of them.
    void compara();
    // The keys of the lines chosen, in the list's order.
    QList<qint64> escolhidos() const;

    catalogue::ModeloLista* modelo() const { return m_modelo; }
    QLineEdit* Procura = nullptr;
    QCheckBox* SoEmUso = nullptr;
    QTableView* Tabela = nullptr;
    QPushButton* Comparar = nullptr;
    QLabel* Situacao = nullptr;

signals:
    // The user asked for the mix of key `codigo` in the form.
    void escolhido(qint64 codigo);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void explicaControles();
    void mostraSituacao();
    void escolheAtual();
    void mostraMenu(const QPoint& onde);
    // Runs a read of the catalogue, telling the user when the database fails.
    template <typename Leitura> void le(const QString& rotina, Leitura leitura);

    catalogue::ModeloLista* m_modelo = nullptr;
    std::function<void(QList<qint64>)> m_comparacao;
    bool m_aberta = false;
    int m_ordenadaPor = 0; // the column the list is ordered by, and which way
    Qt::SortOrder m_sentido = Qt::AscendingOrder;
    bool m_desatualizada = false;
};

} // namespace catalogview
