#include "testregistry.h"

#include "catalogue/modelolista.h"
#include "catalogview/listatracos.h"
#include "desktop/scripteddialogs.h"
#include "janelateste.h"

#include <QItemSelectionModel>
#include <QStandardPaths>
#include <QTableView>

using catalogue::ModeloLista;
using desktop::Dialogs;
using desktop::ScriptedDialogs;
using Form = mixform::FormTraco;

namespace {

// The key of the mix the form shows.
qint64 mostrado(teste::Janela& j)
{
    return j.form()->tracos().field(QStringLiteral("Codigo")).toLongLong();
}

catalogview::ListaTracos* abreLista(teste::Janela& j)
{
    j.traco->executa(QStringLiteral("ID_ListaTracos"));
    return j.traco->lista();
}

} // namespace

// The list beside the form: it takes the form to the mix chosen, respects an edit in progress, follows the form's
// writes and hands the mixes to compare.
class TestListaTracos : public QObject
{
    Q_OBJECT

private:
    ScriptedDialogs* m_dialogs = nullptr;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_dialogs = new ScriptedDialogs;
        Dialogs::instala(std::unique_ptr<Dialogs>(m_dialogs));
    }

    // Enter in the list, in the search box or a double click shows the mix; the form's buttons go on from it in the
    // catalogue's order whatever the list's.
    void escolheLinha_data()
    {
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QString>("procura");
        QTest::addColumn<int>("linha");
        QTest::addColumn<QString>("como");
        QTest::newRow("enter, por nome") << int(ModeloLista::Traco) << "" << 5 << "enter";
        QTest::newRow("duplo clique, por fck") << int(ModeloLista::Fck) << "" << 2 << "clique";
        QTest::newRow("enter na procura") << int(ModeloLista::Custo) << "BOMBEADO" << 0 << "procura";
    }
    void escolheLinha()
    {
        QFETCH(int, coluna);
        QFETCH(QString, procura);
        QFETCH(int, linha);
        QFETCH(QString, como);
        teste::Janela j;
        catalogview::ListaTracos* l = abreLista(j);
        QVERIFY(l->isVisible() && j.traco->ferramenta(QStringLiteral("ID_ListaTracos"))->isChecked());
        l->Tabela->sortByColumn(coluna, Qt::DescendingOrder);
        j.traco->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(j.traco.get()));
        QTest::keySequence(j.traco.get(), QKeySequence::Find);
        QVERIFY(l->Procura->hasFocus());
        QTest::keyClicks(l->Procura, procura);
        const qint64 codigo = l->modelo()->codigoEm(linha);
        QVERIFY(codigo != 0);
        const QPoint ponto = l->Tabela->visualRect(l->modelo()->index(linha, 0)).center();
        if (como == QLatin1String("procura")) {
            QTest::keyClick(l->Procura, Qt::Key_Return);
        } else if (como == QLatin1String("enter")) {
            l->Tabela->setCurrentIndex(l->modelo()->index(linha, 0));
            QTest::keyClick(l->Tabela, Qt::Key_Return);
        } else {
            // A double click is the second press of a click.
            QTest::mouseClick(l->Tabela->viewport(), Qt::LeftButton, {}, ponto);
            QTest::mouseDClick(l->Tabela->viewport(), Qt::LeftButton, {}, ponto);
        }
        QCOMPARE(mostrado(j), codigo);
        const int posicao = j.form()->posicao();
        QCOMPARE(j.form()->tracos().chaveEm(posicao - 1), codigo);
        j.form()->Movimento[Form::Proximo]->click();
        QCOMPARE(mostrado(j), j.form()->tracos().chaveEm(std::min(posicao, j.form()->totalRegistros() - 1)));
        j.form()->Movimento[Form::Anterior]->click();
        j.form()->Movimento[Form::Anterior]->click();
        QCOMPARE(mostrado(j), j.form()->tracos().chaveEm(std::max(posicao - 2, 0)));
        // Esc empties the search.
        QTest::keyClick(l->Procura, Qt::Key_Escape);
        QCOMPARE(l->modelo()->rowCount(), j.form()->totalRegistros());
    }

    // While a mix is edited the list asks first, as closing does: Cancelar keeps the edit, Não leaves it.
    void respeitaEdicao_data()
    {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<bool>("move");
        QTest::newRow("cancelar") << int(Dialogs::Resposta::Cancelar) << false;
        QTest::newRow("não gravar") << int(Dialogs::Resposta::Nao) << true;
    }
    void respeitaEdicao()
    {
        QFETCH(int, resposta);
        QFETCH(bool, move);
        teste::Janela j;
        catalogview::ListaTracos* l = abreLista(j);
        const qint64 antes = mostrado(j);
        j.traco->executa(QStringLiteral("ID_Alterar"));
        QVERIFY(j.form()->alterando);
        const int ultima = l->modelo()->rowCount() - 1;
        const qint64 outro = l->modelo()->codigoEm(ultima);
        m_dialogs->proximaResposta(Dialogs::Resposta(resposta));
        l->Tabela->setCurrentIndex(l->modelo()->index(ultima, 0));
        QTest::keyClick(l->Tabela, Qt::Key_Return);
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(j.form()->alterando, !move);
        QCOMPARE(mostrado(j), move ? outro : antes);
    }

    // A delete in the form reaches the list, which stays on the mix it stood on.
    void acompanhaExclusao()
    {
        teste::Janela j;
        catalogview::ListaTracos* l = abreLista(j);
        const int total = l->modelo()->rowCount();
        const qint64 marcado = l->modelo()->codigoEm(total - 1);
        l->Tabela->setCurrentIndex(l->modelo()->index(total - 1, 0));
        // The form's first mix is deleted ("Sim" to the question).
        j.form()->Movimento[Form::Primeiro]->click();
        m_dialogs->proximaResposta(Dialogs::Resposta::Sim);
        j.traco->executa(QStringLiteral("ID_Excluir"));
        QCOMPARE(l->modelo()->rowCount(), total - 1);
        QCOMPARE(l->modelo()->codigoEm(l->Tabela->currentIndex().row()), marcado);
    }

    // The mixes to compare go in the list's order, two to four of them.
    void comparacao_data()
    {
        QTest::addColumn<QList<int>>("linhas");
        QTest::addColumn<bool>("habilitado");
        QTest::newRow("um") << QList<int>{3} << false;
        QTest::newRow("dois fora de ordem") << QList<int>{6, 1} << true;
        QTest::newRow("quatro") << QList<int>{9, 2, 7, 0} << true;
        QTest::newRow("cinco") << QList<int>{0, 1, 2, 3, 4} << false;
    }
    void comparacao()
    {
        QFETCH(QList<int>, linhas);
        QFETCH(bool, habilitado);
        teste::Janela j;
        catalogview::ListaTracos* l = abreLista(j);
        QList<qint64> recebidos;
        l->defineComparacao([&](QList<qint64> codigos) { recebidos = codigos; });
        l->Tabela->sortByColumn(ModeloLista::Fck, Qt::AscendingOrder);
        for (const int linha : linhas)
            l->Tabela->selectionModel()->select(l->modelo()->index(linha, 0),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(l->Comparar->isEnabled(), habilitado);
        l->compara();
        QList<int> ordenadas = linhas;
        std::sort(ordenadas.begin(), ordenadas.end());
        QList<qint64> esperados;
        for (const int linha : ordenadas)
            esperados.append(l->modelo()->codigoEm(linha));
        QCOMPARE(recebidos, habilitado ? esperados : QList<qint64>{});
    }
};

QUENVAR_TEST(TestListaTracos)
#include "tst_listatracos.moc"
