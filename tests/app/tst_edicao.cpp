#include "testregistry.h"

#include "calc/formats.h"
#include "calc/numericentry.h"
#include "catalogue/catalogo.h"
#include "desktop/scripteddialogs.h"
#include "janelateste.h"
#include "platform/clock.h"
#include "preview/previatraco.h"
#include "widgets/caixatexto.h"
#include "wizard/mago.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>

using desktop::Dialogs;
using desktop::ScriptedDialogs;
using Form = mixform::FormTraco;
using teste::digita;
using teste::Janela;

namespace {

QVariant valor(const QString& sql, const QVariantList& valores = {})
{
    return platform::Database::shared().scalar(sql, valores);
}

int linhasDoNome(const QString& nome)
{
    return valor(QStringLiteral("SELECT COUNT(*) FROM Tracos WHERE NomeTraco = ?"), {nome}).toInt();
}

// Goes to a stored mix by name and variant, as the navigation buttons would.
void vaiPara(Janela& j, const QString& nome, int variante)
{
    Form* f = j.form();
    f->Movimenta(Form::Primeiro);
    for (int i = 0; i < f->totalRegistros(); ++i) {
        if (f->tracos().field(QStringLiteral("NomeTraco")).toString() == nome &&
            f->tracos().field(QStringLiteral("TracoVariante")).toInt() == variante)
            return;
        f->Movimenta(Form::Proximo);
    }
    QFAIL("mix not found");
}

// A new mix by mass: one bag of cement with sand and gravel.
void preencheMistura(Form* f, const QString& nome)
{
    f->Combo[0]->setEditText(nome);
    f->OpcaoForma[0]->click();
    f->Combo[2]->setCurrentIndex(f->Combo[2]->findText(QStringLiteral("Cimento 32")));
    digita(f->TextoT[0], QStringLiteral("50"));
    digita(f->TextoT[2], QStringLiteral("100"));
    digita(f->TextoT[3], QStringLiteral("150"));
}

} // namespace

class TestEdicao : public QObject
{
    Q_OBJECT

private:
    ScriptedDialogs* m_dialogs = nullptr;
    QStringList m_bancoPresoNaMensagem;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        platform::Clock::fixa(QDateTime(QDate(2026, 12, 4), QTime(14, 5)));
    }
    void cleanupTestCase() { platform::Clock::fixa(QDateTime()); }
    void init()
    {
        m_dialogs = new ScriptedDialogs;
        Dialogs::instala(std::unique_ptr<Dialogs>(m_dialogs));
        // Every message of every flow here is asked outside a write transaction: while the user reads it the
        // other workstations can write, and no write of this one waits on the user's answer.
        m_bancoPresoNaMensagem.clear();
        m_dialogs->aoMostrar([this](const ScriptedDialogs::Mensagem& mensagem) {
            if (platform::Database::shared().transactionDepth() > 0)
                m_bancoPresoNaMensagem.append(mensagem.texto);
        });
    }
    void cleanup()
    {
        QVERIFY2(m_bancoPresoNaMensagem.isEmpty(), qPrintable(m_bancoPresoNaMensagem.join(QStringLiteral(" | "))));
    }

    void novoNomeEVariante00()
    {
        Janela j;
        Form* f = j.form();
        j.traco->executa(QStringLiteral("ID_Incluir"));
        QVERIFY(f->inserindo);
        QCOMPARE(j.traco->modoTexto, QStringLiteral("Edicao"));
        QCOMPARE(j.registro(), QStringLiteral("Registro 13/13"));
        QVERIFY(j.traco->barra(1)->isVisible() && !j.traco->barra(0)->isVisible());
        QCOMPARE(f->TextoC[3]->text(), QStringLiteral("04-12-2026"));
        // Dates and masses as a stored mix shows them: one date format, the decimal comma.
        QCOMPARE(f->TextoC[4]->text(), QStringLiteral("27-11-2026"));
        QCOMPARE(f->Texto[0]->text(), QStringLiteral("3,1"));
        QCOMPARE(f->Texto[5]->text(), QStringLiteral("1,38"));
        preencheMistura(f, QStringLiteral("Laje Nervurada"));
        // A new name: the band shows and the mix cannot be left out of use.
        QVERIFY(!f->Faixa->isHidden());
        f->TracoCorrente->click();
        QVERIFY(f->TracoCorrente->isChecked());
        // The batch is scaled to the cubic metre as it is typed.
        const calc::CalcState& e = j.traco->estado;
        QVERIFY(e.f > 0);
        QCOMPARE(e.Cm, 50.0 * e.f);
        QCOMPARE(f->TextoM[0]->text(), calc::formatQuantity(e.Cm));
        QCOMPARE(f->TextoI[3]->text().left(5), QStringLiteral("1:2,0"));
        j.traco->executa(QStringLiteral("ID_Gravar"));
        QVERIFY(m_dialogs->mensagens().isEmpty());
        QVERIFY(!f->inserindo);
        QCOMPARE(j.traco->modoTexto, QStringLiteral("Normal"));
        // The registration date and the costing mark; the rest of the row is checked against the window by the
        // round-trip tests, the name, list and place by the next test.
        QSqlQuery q = platform::Database::shared().exec(
            QStringLiteral("SELECT DataCadastro, Atualizado FROM Tracos WHERE NomeTraco = 'Laje Nervurada'"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("04-12-2026"));
        QCOMPARE(q.value(1).toInt(), 0);
    }

    // After a save the window shows the name as the catalogue wrote it, its variant, the name once in the list and
    // the mix at its place in the catalogue.
    void inclusaoMostraOGravado_data()
    {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<bool>("outraEstacaoAntes"); // another workstation saves the same name first
        QTest::addColumn<bool>("faixa");             // the band of a new name shows while typing
        QTest::addColumn<QString>("mostrado");
        QTest::addColumn<int>("variante");
        QTest::addColumn<int>("nomesNovos"); // in the name list
        QTest::addColumn<int>("naLista");    // the name's place in the list, in the catalogue's order; -1 any
        QTest::newRow("nome existente em outra caixa e com brancos")
            << "  concreto FCK 25 " << false << false << "Concreto fck 25" << 3 << 0 << -1;
        QTest::newRow("nome novo primeiro na ordem") << "Água Fria" << false << true << "Água Fria" << 0 << 1 << 0;
        QTest::newRow("mesmo nome gravado antes por outra estação")
            << "Laje Treliçada" << true << true << "Laje Treliçada" << 1 << 1 << -1;
    }
    void inclusaoMostraOGravado()
    {
        QFETCH(QString, digitado);
        QFETCH(bool, outraEstacaoAntes);
        QFETCH(bool, faixa);
        QFETCH(QString, mostrado);
        QFETCH(int, variante);
        QFETCH(int, nomesNovos);
        QFETCH(int, naLista);
        Janela j;
        Form* f = j.form();
        const int nomes = f->Combo[0]->count();
        j.traco->executa(QStringLiteral("ID_Incluir"));
        preencheMistura(f, digitado);
        QCOMPARE(f->Faixa->isHidden(), !faixa);
        QVERIFY(f->TracoCorrente->isChecked());
        if (outraEstacaoAntes) {
            platform::Database b(QStringLiteral("outra-estacao"));
            b.open(j.pasta.local());
            catalogue::Catalogo(b).insere({digitado, true, {}});
        }
        j.traco->executa(QStringLiteral("ID_Gravar"));
        QVERIFY(m_dialogs->mensagens().isEmpty());
        QVERIFY(!f->inserindo);
        QCOMPARE(f->TextoC[0]->text(), mostrado);
        QCOMPARE(f->RotVar->text(), calc::padded(variante, 2));
        QCOMPARE(f->Combo[0]->count(), nomes + nomesNovos);
        int vezes = 0;
        for (int i = 0; i < f->Combo[0]->count(); ++i)
            vezes += f->Combo[0]->itemText(i) == mostrado;
        QCOMPARE(vezes, 1);
        if (naLista >= 0)
            QCOMPARE(f->Combo[0]->itemText(naLista), mostrado);
        QVERIFY(Form::ProcuraNaLista(f->Combo[0], QLatin1Char(' ') + mostrado.toLower() + QLatin1Char(' ')) > 0);
        QCOMPARE(f->totalRegistros(), valor(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt());
        QCOMPARE(f->posicao(), f->tracos().absolutePosition() + 1);
        QCOMPARE(f->tracos().field(QStringLiteral("NomeTraco")).toString(), mostrado);
        QCOMPARE(j.registro(), QStringLiteral("Registro %1/%2").arg(f->posicao()).arg(f->totalRegistros()));
    }

    void nomeEmBranco_data()
    {
        QTest::addColumn<bool>("sim");
        QTest::newRow("sim continua") << true;
        QTest::newRow("não cancela") << false;
    }
    void nomeEmBranco()
    {
        QFETCH(bool, sim);
        Janela j;
        Form* f = j.form();
        f->Inserindo();
        preencheMistura(f, QStringLiteral("   "));
        f->Pasta->setCurrentIndex(2);
        m_dialogs->proximaResposta(sim ? Dialogs::Resposta::Sim : Dialogs::Resposta::Nao);
        f->Gravando(Form::Fim::Gravar);
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().titulo, QStringLiteral("Traço sem Nome"));
        QCOMPARE(m_dialogs->mensagens().first().texto, QStringLiteral("Traço sem descrição.\r\rPreenche descrição?"));
        QCOMPARE(m_dialogs->mensagens().first().icone, Dialogs::Icone::Exclamacao);
        QCOMPARE(f->inserindo, sim);
        QCOMPARE(f->Pasta->currentIndex(), sim ? 0 : 2);
        QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt(), 12);
        if (!sim)
            QCOMPARE(f->TextoC[0]->text(), QStringLiteral("Concreto Aparente fck 30"));
    }

    // Cancelling returns to viewing with nothing written and no question: the insert into an empty catalogue by
    // the tool, an edit by Esc.
    void cancelar_data()
    {
        QTest::addColumn<bool>("demo");
        QTest::newRow("inclusão no catálogo vazio") << false;
        QTest::newRow("alteração com Esc") << true;
    }
    void cancelar()
    {
        QFETCH(bool, demo);
        Janela j(demo);
        Form* f = j.form();
        if (demo) {
            f->Alterando();
            QTest::keyClick(f->TextoC[0], Qt::Key_Escape);
        } else {
            f->Inserindo();
            QCOMPARE(j.registro(), QStringLiteral("Registro 1/1"));
            j.traco->executa(QStringLiteral("ID_Cancelar"));
        }
        QVERIFY(!f->inserindo && !f->alterando);
        QCOMPARE(j.traco->modoTexto, QStringLiteral("Normal"));
        QCOMPARE(j.registro(), demo ? QStringLiteral("Registro 1/12") : QStringLiteral("Registro 0/0"));
        QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt(), demo ? 12 : 0);
        QVERIFY(m_dialogs->mensagens().isEmpty());
    }

    // What the window holds is checked before anything is written: the user is told why, the focus goes to the
    // box to correct, and the insert stays open with what was typed.
    void recusadoAntesDeGravar_data()
    {
        QTest::addColumn<QStringList>("digitado"); // box=text, in the order typed, after a whole mix
        QTest::addColumn<QString>("caixa");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("texto");

        QTest::newRow("nome longo") << QStringList{QStringLiteral("nome=") + QString(51, QLatin1Char('x'))}
                                    << QStringLiteral("Combo0") << QStringLiteral("Nome muito longo")
                                    << "51 caracteres";
        QTest::newRow("só o nome, sem cimento")
            << QStringList{QStringLiteral("TextoT0="), QStringLiteral("TextoT2="), QStringLiteral("TextoT3=")}
            << QStringLiteral("TextoT0") << QStringLiteral("Traço sem Cimento")
            << "Informe a quantidade de cimento do traço.";
        QTest::newRow("massa específica que não é número")
            << QStringList{QStringLiteral("Texto0=abc")} << QStringLiteral("Texto0") << QStringLiteral("Valor inválido")
            << "A massa específica do cimento não pode ser \"abc\".\rInforme um número entre 1,0 e 4,0 kg/l.";
        QTest::newRow("umidade acima de 20 %") << QStringList{QStringLiteral("Texto6=25")} << QStringLiteral("Texto6")
                                               << QStringLiteral("Valor inválido") << "entre 0 e 20 %";
        QTest::newRow("areia negativa colada")
            << QStringList{QStringLiteral("TextoT2=-5")} << QStringLiteral("TextoT2")
            << QStringLiteral("Quantidade inválida") << "Areia Grossa não pode ser negativa";
        QTest::newRow("mão-de-obra por m³ grande demais")
            << QStringList{QStringLiteral("TextoT0=0,001"), QStringLiteral("TextoT2="), QStringLiteral("TextoT3="),
                           QStringLiteral("TextoT9=9")}
            << QStringLiteral("TextoT9") << QStringLiteral("Quantidade inválida") << "grande demais";
    }
    void recusadoAntesDeGravar()
    {
        QFETCH(QStringList, digitado);
        QFETCH(QString, caixa);
        QFETCH(QString, titulo);
        QFETCH(QString, texto);
        Janela j;
        Form* f = j.form();
        j.traco->executa(QStringLiteral("ID_Incluir"));
        preencheMistura(f, QStringLiteral("Laje"));
        for (const QString& d : digitado) {
            const QString nome = d.section(QLatin1Char('='), 0, 0);
            const QString valorDigitado = d.section(QLatin1Char('='), 1);
            if (nome == QLatin1String("nome")) {
                f->Combo[0]->setEditText(valorDigitado);
                continue;
            }
            // As pasted: the text arrives whole, past the keys' rules.
            auto* c = f->findChild<QLineEdit*>(nome);
            c->setText(valorDigitado);
            emit c->textEdited(valorDigitado);
        }
        f->Pasta->setCurrentIndex(0);
        j.traco->executa(QStringLiteral("ID_Gravar"));
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().titulo, titulo);
        QVERIFY2(m_dialogs->mensagens().first().texto.contains(texto),
                 qPrintable(m_dialogs->mensagens().first().texto));
        QVERIFY(f->inserindo);
        QWidget* foco = f->findChild<QWidget*>(caixa);
        // The name list takes the focus in its entry line.
        QCOMPARE(j.traco->focusWidget(), foco->focusProxy() ? foco->focusProxy() : foco);
        QVERIFY(f->Pasta->currentWidget()->isAncestorOf(foco));
        QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt(), 12);
    }

    // A new mix names exactly the products its lists show, whatever the mix viewed before held.
    void inclusaoGravaOsProdutosDasListas()
    {
        Janela j;
        Form* f = j.form();
        const QString aditivado = valor(QStringLiteral("SELECT NomeTraco FROM Tracos WHERE TracoAditivoCod1 > 0 "
                                                       "AND TracoCimentoCod <> (SELECT CodigoProduto FROM Produtos "
                                                       "WHERE NomeProduto = 'Cimento 32')"))
                                      .toString();
        QVERIFY(!aditivado.isEmpty());
        vaiPara(j, aditivado, 0);
        QVERIFY(!f->CompT[5]->text().isEmpty());
        j.traco->executa(QStringLiteral("ID_Incluir"));
        for (const auto& [lista, linha] :
             std::array<std::pair<int, int>, 5>{{{2, 0}, {3, 3}, {4, 4}, {5, 5}, {6, 6}}}) {
            const QString mostrado = f->Combo[lista]->currentIndex() < 0 ? QString() : f->Combo[lista]->currentText();
            QCOMPARE(f->CompT[linha]->text(), mostrado == QLatin1String("* Nenhum *") ? QString() : mostrado);
        }
        f->Combo[0]->setEditText(QStringLiteral("Laje"));
        digita(f->TextoT[0], QStringLiteral("50"));
        digita(f->TextoT[2], QStringLiteral("100"));
        digita(f->TextoT[3], QStringLiteral("150"));
        // A quantity under an admixture row that shows no product is not taken.
        digita(f->TextoT[5], QStringLiteral("2"));
        j.traco->executa(QStringLiteral("ID_Gravar"));
        QVERIFY(m_dialogs->mensagens().isEmpty());
        const auto codigo = [](const QString& produto) {
            return valor(QStringLiteral("SELECT CodigoProduto FROM Produtos WHERE NomeProduto = ?"), {produto})
                .toLongLong();
        };
        QSqlQuery q = platform::Database::shared().exec(
            QStringLiteral("SELECT TracoCimentoCod, TracoGraudoCod1, TracoAditivoCod1, TracoAditivoQde1 FROM Tracos "
                           "WHERE NomeTraco = 'Laje'"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toLongLong(), codigo(f->CompT[0]->text()));
        QCOMPARE(q.value(1).toLongLong(), codigo(f->CompT[3]->text()));
        QCOMPARE(q.value(2).toLongLong(), 0);
        QCOMPARE(q.value(3).toDouble(), 0.0);
    }

    // The slump and the class drive the water and the strength: what the window shows is what is computed.
    void abatimentoEClasse()
    {
        // Limits that leave the class "Líquida" without any slump, and no cement of class 40 in the products.
        Janela j(true, {QStringLiteral("UPDATE Consistencias SET Abate1 = '200'"),
                        QStringLiteral("UPDATE Produtos SET NomeProduto = 'Cal Hidratada' WHERE NomeProduto = "
                                       "'Cimento 40'")});
        Form* f = j.form();
        vaiPara(j, QStringLiteral("Concreto fck 20"), 0);
        j.traco->executa(QStringLiteral("ID_Alterar"));
        // Choosing a slump puts it in the box that is saved.
        f->Combo[7]->setCurrentIndex(0);
        QCOMPARE(f->TextoC[2]->text(), f->Combo[7]->currentText());
        const QString agua = f->TextoM[8]->text();
        const qint16 abatimento = j.traco->estado.abatimento;
        f->Combo[1]->setCurrentIndex(0);
        QCOMPARE(f->Combo[7]->count(), 0);
        QCOMPARE(j.traco->estado.abatimento, abatimento);
        QCOMPARE(f->TextoM[8]->text(), agua);

        // A class whose cement the products do not have: no cement is named, and the strength follows the class.
        const QString fck = f->TextoI[5]->text();
        f->ClasseCimento->setCurrentText(QStringLiteral("40"));
        QCOMPARE(f->Combo[2]->currentIndex(), -1);
        QVERIFY(f->CompT[0]->text().isEmpty());
        QVERIFY(f->TextoI[5]->text().toInt() > fck.toInt());
        j.traco->executa(QStringLiteral("ID_Gravar"));
        QVERIFY(m_dialogs->mensagens().isEmpty());
        QSqlQuery q = platform::Database::shared().exec(QStringLiteral(
            "SELECT Fator, Classe, TracoCimentoCod, Resistencia FROM Tracos WHERE NomeTraco = 'Concreto fck 20' "
            "AND TracoVariante = 0"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), calc::padded(abatimento, 3));
        QCOMPARE(q.value(1).toString(), QStringLiteral("40"));
        QCOMPARE(q.value(2).toInt(), 0);
        QCOMPARE(q.value(3).toString(), f->TextoI[5]->text());
    }

    void gravacaoRecusadaNaoDeixaMeiaLinha()
    {
        Janela j;
        teste::recusaInsercoes(platform::Database::shared(), QStringLiteral("NEW.Plantao"),
                               QStringLiteral("disco cheio"));
        Form* f = j.form();
        f->Inserindo();
        preencheMistura(f, QStringLiteral("Concreto fck 20"));
        f->Gravando(Form::Fim::Gravar);
        // The refusal was told in the user's words and what was typed stays.
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().titulo, QStringLiteral("Traço não gravado"));
        QVERIFY(f->inserindo);
        QCOMPARE(f->TextoT[3]->text(), QStringLiteral("150,0"));
        // Cancelling after the refusal returns to viewing with nothing written.
        f->Gravando(Form::Fim::Cancelar);
        QVERIFY(!f->inserindo);
        QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt(), 12);
    }

    void renomear_data()
    {
        QTest::addColumn<QString>("novo");
        QTest::addColumn<bool>("existe");
        QTest::newRow("nome livre") << "Concreto d'Água" << false;
        QTest::newRow("nome existente") << "Contrapiso" << true;
    }
    void renomear()
    {
        QFETCH(QString, novo);
        QFETCH(bool, existe);
        Janela j;
        Form* f = j.form();
        vaiPara(j, QStringLiteral("Concreto fck 25"), 1);
        j.traco->executa(QStringLiteral("ID_Alterar"));
        QVERIFY(f->alterando);
        f->Combo[0]->setEditText(novo);
        m_dialogs->proximaResposta(Dialogs::Resposta::Nao);
        f->Gravando(Form::Fim::Gravar);
        if (existe) {
            QCOMPARE(m_dialogs->mensagens().size(), 1);
            QCOMPARE(m_dialogs->mensagens().first().titulo, QStringLiteral("Traço Existente"));
            QCOMPARE(m_dialogs->mensagens().first().texto,
                     QStringLiteral("Não pode ser este nome.\rPois o mesmo já existe.\r\rQuer digitar outro nome?"));
            QVERIFY(!f->alterando); // answered No: the edit was cancelled
            QCOMPARE(f->TextoC[0]->text(), QStringLiteral("Concreto fck 25"));
        } else {
            QVERIFY(m_dialogs->mensagens().isEmpty());
            QVERIFY(Form::ProcuraNaLista(f->Combo[0], novo) > 0);
            QCOMPARE(Form::ProcuraNaLista(f->Combo[0], QStringLiteral("Concreto fck 25")), 0);
            QCOMPARE(f->TextoC[0]->text(), novo);
        }
    }

    // The catalogue's notice of the in-use mark passing to another variant is shown once the write is over (the
    // messages of every test here are checked to come outside a transaction).
    void desmarcarEmUsoAvisa()
    {
        Janela j;
        Form* f = j.form();
        vaiPara(j, QStringLiteral("Concreto fck 25"), 0);
        f->Alterando();
        f->TracoCorrente->click();
        QVERIFY(!f->TracoCorrente->isChecked());
        f->Gravando(Form::Fim::Gravar);
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().titulo, QStringLiteral("Novo traço de Plantão"));
        QCOMPARE(m_dialogs->mensagens().first().texto,
                 QStringLiteral("O novo traço Concreto fck 25 de plantao\ré o traço variante de número 01"));
        QVERIFY(!f->alterando);
        QVERIFY(!f->TracoCorrente->isChecked());
    }

    // The delete is asked first; the name list, the count and the position follow what the catalogue did.
    void excluir_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<Dialogs::Resposta>("resposta");
        QTest::addColumn<int>("linhas");
        QTest::addColumn<bool>("nomeNaLista");
        QTest::addColumn<int>("posicao");    // after the delete; 0 the same as before
        QTest::addColumn<QString>("ultima"); // how the last message ends
        using R = Dialogs::Resposta;
        const QString pergunta = QStringLiteral("Apaga este Traço de Concreto?");
        QTest::newRow("única linha de nome livre sai da lista")
            << "Concreto Magro" << R::Sim << 11 << false << 0 << pergunta;
        QTest::newRow("o último do catálogo") << "Traço d'Obra" << R::Sim << 11 << false << 11 << pergunta;
        QTest::newRow("não confirmado") << "Concreto Magro" << R::Nao << 12 << true << 0 << pergunta;
        QTest::newRow("recusado pelo catálogo")
            << "Contrapiso" << R::Sim << 12 << true << 0 << "Portanto, não pode ser excluído.";
    }
    void excluir()
    {
        QFETCH(QString, nome);
        QFETCH(Dialogs::Resposta, resposta);
        QFETCH(int, linhas);
        QFETCH(bool, nomeNaLista);
        QFETCH(int, posicao);
        QFETCH(QString, ultima);
        Janela j(true, {QStringLiteral("UPDATE Produtos SET CodigoTraco = (SELECT CodigoTraco FROM Tracos WHERE "
                                       "NomeTraco = 'Contrapiso') WHERE NomeProduto = 'Concreto Usinado fck 20'")});
        Form* f = j.form();
        vaiPara(j, nome, 0);
        if (posicao == 0)
            posicao = f->posicao();
        m_dialogs->proximaResposta(resposta);
        j.traco->executa(QStringLiteral("ID_Excluir"));
        QCOMPARE(m_dialogs->mensagens().first().texto, QStringLiteral("Apaga este Traço de Concreto?"));
        QVERIFY2(m_dialogs->mensagens().last().texto.endsWith(ultima), qPrintable(m_dialogs->mensagens().last().texto));
        QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt(), linhas);
        QCOMPARE(f->totalRegistros(), linhas);
        QCOMPARE(Form::ProcuraNaLista(f->Combo[0], nome) > 0, nomeNaLista);
        // The row that took the deleted row's place keeps its number, and the window shows it.
        QCOMPARE(f->posicao(), posicao);
        QCOMPARE(f->TextoC[0]->text(), f->tracos().field(QStringLiteral("NomeTraco")).toString());
        QCOMPARE(j.registro(), QStringLiteral("Registro %1/%2").arg(posicao).arg(linhas));
    }

    void excluirOUnicoTraco()
    {
        Janela j(true, {QStringLiteral("DELETE FROM Tracos WHERE Codigo <> (SELECT MIN(Codigo) FROM Tracos)"),
                        QStringLiteral("UPDATE Produtos SET CodigoTraco = NULL")});
        Form* f = j.form();
        QCOMPARE(f->totalRegistros(), 1);
        QVERIFY(!f->TextoC[0]->text().isEmpty());
        m_dialogs->proximaResposta(Dialogs::Resposta::Sim);
        f->Excluindo();
        QCOMPARE(m_dialogs->mensagens().last().texto, QStringLiteral("Excluindo o último Registro"));
        QCOMPARE(j.registro(), QStringLiteral("Registro 0/0"));
        // Nothing of the deleted mix stays on screen.
        for (widgets::CaixaTexto* c : f->findChildren<widgets::CaixaTexto*>())
            QVERIFY2(c->text().isEmpty(), qPrintable(c->objectName() + QStringLiteral(": ") + c->text()));
        QCOMPARE(f->RotVar->text(), QStringLiteral("00"));
    }

    void alterarMantemOTracoEGravaOsCampos()
    {
        Janela j;
        Form* f = j.form();
        vaiPara(j, QStringLiteral("Contrapiso"), 0);
        const QString cimento = f->TextoM[0]->text();
        f->Alterando();
        // A volume mix recalculates to the same cubic metre it stored.
        QCOMPARE(f->TextoM[0]->text(), cimento);
        QCOMPARE(f->UnidT[1]->text(), QStringLiteral("Litros"));
        digita(f->TextoC[3], QStringLiteral("31-02-2026"));
        digita(f->Custo[1], QStringLiteral("10"));
        QCOMPARE(f->custo(2), f->custo(0) * 1.1);
        f->Gravando(Form::Fim::Gravar);
        QSqlQuery q = platform::Database::shared().exec(QStringLiteral(
            "SELECT DataCadastro, Perda, Volumetrico, TracoCimento FROM Tracos WHERE NomeTraco = 'Contrapiso'"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QString());
        QCOMPARE(q.value(1).toDouble(), 10.0);
        QCOMPARE(q.value(2).toInt(), 1);
        QCOMPARE(q.value(3).toDouble(), 35.0);
    }

    void recalculo()
    {
        Janela j;
        Form* f = j.form();
        // Viewing: typing changes nothing else.
        const QString antes = f->TextoM[0]->text();
        f->TextoT[0]->setReadOnly(false);
        digita(f->TextoT[0], QStringLiteral("99"));
        QCOMPARE(f->TextoM[0]->text(), antes);

        vaiPara(j, QStringLiteral("Concreto fck 20"), 0);
        f->Alterando();
        const QString metro = f->TextoM[0]->text();
        // Doubling the batch keeps the cubic metre.
        for (int i : {0, 1, 2, 3, 4})
            digita(f->TextoT[i], QString::number(2 * f->TextoT[i]->text().split(QLatin1Char(','))[0].toInt()));
        QCOMPARE(f->TextoM[0]->text(), metro);
        // Typing in a cubic-metre box is answered with the value of the batch.
        digita(f->TextoM[0], QStringLiteral("1"));
        QCOMPARE(f->TextoM[0]->text(), metro);
        // Mass to volume: the same batch in loose litres.
        f->OpcaoForma[1]->click();
        QCOMPARE(f->UnidT[0]->text(), QStringLiteral("Litros"));
        QCOMPARE(f->TextoT[0]->text(), QLocale().toString(100.0 / 1.43, 'f', 1));
        // The water reduction lowers the water.
        const double agua = calc::readNumber(f->TextoM[8]->text().replace(QLatin1Char(','), QLatin1Char('.')));
        f->Combo[8]->setCurrentIndex(f->Combo[8]->findText(QStringLiteral("10")));
        QCOMPARE(f->TextoC[5]->text(), QStringLiteral("10"));
        const double reduzida = calc::readNumber(f->TextoM[8]->text().replace(QLatin1Char(','), QLatin1Char('.')));
        QVERIFY(qAbs(reduzida - agua * 0.9) < 0.2);
        f->Gravando(Form::Fim::Cancelar);
        QCOMPARE(f->TextoC[0]->text(), QStringLiteral("Concreto fck 20"));
    }

    void assistentePeloMenu_data()
    {
        QTest::addColumn<bool>("copiar");
        QTest::newRow("copiar traço") << true;
        QTest::newRow("fechar") << false;
    }
    void assistentePeloMenu()
    {
        QFETCH(bool, copiar);
        Janela j;
        wizard::Mago mago(platform::Database::shared());
        j.traco->defineFormularios(nullptr, nullptr, &mago, nullptr);
        j.form()->Movimenta(Form::Ultimo);
        m_dialogs->proximoModal([&](QDialog* d) {
            // The user answers the five question pages and finishes.
            d->show();
            d->findChild<QComboBox*>(QStringLiteral("NomeTraco"))->setEditText(QStringLiteral("Baldrame"));
            d->findChild<QLineEdit*>(QStringLiteral("Resistencia"))->setText(QStringLiteral("20"));
            auto* avancar = d->findChild<QPushButton*>(QStringLiteral("BotaoAssiste1"));
            for (int i = 0; i < 4; ++i)
                avancar->click();
            auto* concluir = d->findChild<QPushButton*>(QStringLiteral("BotaoAssiste2"));
            concluir->click();
            // The last page shows the experimental sheet of the designed mix.
            if (!d->findChild<preview::PreviaTraco*>())
                return -1;
            if (copiar)
                concluir->click();
            else
                d->findChild<QPushButton*>(QStringLiteral("BotaoAssiste3"))->click();
            return d->result();
        });
        QVERIFY(j.traco->ferramenta(QStringLiteral("ID_AssistentedeTraços"))->isEnabled());
        j.traco->ferramenta(QStringLiteral("ID_AssistentedeTraços"))->trigger();
        QCOMPARE(m_dialogs->modaisMostrados().size(), 1);
        QVERIFY(mago.findChild<preview::PreviaTraco*>());
        QCOMPARE(j.form()->inserindo, copiar);
        if (!copiar) {
            QCOMPARE(j.form()->TextoC[0]->text(), QStringLiteral("Traço d'Obra"));
            return;
        }
        QCOMPARE(j.form()->Combo[0]->currentText(), QStringLiteral("Baldrame"));
        QVERIFY(!j.form()->TextoT[0]->text().isEmpty());
        j.form()->Gravando(Form::Fim::Gravar);
        QCOMPARE(linhasDoNome(QStringLiteral("Baldrame")), 1);
        // Cancelling would have returned to the mix shown before the wizard; saving shows the new one.
        QCOMPARE(j.form()->TextoC[0]->text(), QStringLiteral("Baldrame"));
    }

    void fecharComEdicaoPendentePergunta_data()
    {
        QTest::addColumn<bool>("sim");
        QTest::newRow("não descarta") << false;
        QTest::newRow("sim grava") << true;
    }
    void fecharComEdicaoPendentePergunta()
    {
        QFETCH(bool, sim);
        Janela j;
        Form* f = j.form();
        f->Alterando();
        f->tracos().setField(QStringLiteral("Perda"), 9.0);
        m_dialogs->proximaResposta(sim ? Dialogs::Resposta::Sim : Dialogs::Resposta::Nao);
        f->tracos().close();
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().texto, QStringLiteral("Grava antes de Encerrar?"));
        QCOMPARE(m_dialogs->mensagens().first().titulo, QStringLiteral("Gravar Registro"));
        QCOMPARE(
            valor(QStringLiteral("SELECT Perda FROM Tracos WHERE NomeTraco = 'Concreto Aparente fck 30'")).toDouble(),
            sim ? 9.0 : 5.0);
    }

    // Another workstation wrote the mix between the moment this one began to edit or delete it and the save.
    void escritaDeOutraEstacao_data()
    {
        QTest::addColumn<QString>("acao");
        QTest::addColumn<Dialogs::Resposta>("resposta");
        QTest::addColumn<QString>("outra");
        QTest::addColumn<bool>("editando");
        QTest::addColumn<QString>("cadastro"); // of the name's variant 01 shown at the end ("" none)
        QTest::addColumn<int>("linhas");
        using R = Dialogs::Resposta;
        QTest::newRow("alterou; recarrega") << "alterar" << R::Sim << "altera" << false << "01-01-2020" << 12;
        QTest::newRow("alterou; grava o digitado") << "alterar" << R::Nao << "altera" << true << "05-05-2025" << 12;
        QTest::newRow("excluiu; grava como novo") << "alterar" << R::Sim << "exclui" << false << "05-05-2025" << 12;
        QTest::newRow("excluiu; continua e cancela") << "alterar" << R::Nao << "exclui" << true << "" << 11;
        QTest::newRow("excluiu antes de Alterar") << "alterar o excluído" << R::Sim << "exclui" << false << "" << 11;
        QTest::newRow("alterou; exclusão mostra o gravado")
            << "excluir" << R::Sim << "altera" << false << "01-01-2020" << 12;
    }
    void escritaDeOutraEstacao()
    {
        QFETCH(QString, acao);
        QFETCH(QString, outra);
        QFETCH(Dialogs::Resposta, resposta);
        QFETCH(bool, editando);
        QFETCH(QString, cadastro);
        QFETCH(int, linhas);
        Janela j;
        Form* f = j.form();
        const QString nome = QStringLiteral("Concreto fck 20");
        vaiPara(j, nome, 1);
        platform::Database b(QStringLiteral("outra-estacao"));
        b.open(j.pasta.local());
        catalogue::Catalogo outraEstacao(b);
        QSqlQuery q = b.exec(QStringLiteral("SELECT Codigo, Versao, NomeTraco FROM Tracos "
                                            "WHERE NomeTraco = ? AND TracoVariante = 1"),
                             {nome});
        QVERIFY(q.next());
        const QString titulo = outra == QLatin1String("altera") ? QStringLiteral("Traço alterado em outra estação")
                                                                : QStringLiteral("Traço excluído em outra estação");
        const catalogue::TracoLido lidoPorB{q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toString()};
        q.finish();

        if (acao == QLatin1String("alterar")) {
            f->Alterando();
            digita(f->TextoC[3], QStringLiteral("05-05-2025"));
        }
        QList<catalogue::Aviso> avisos;
        if (outra == QLatin1String("altera"))
            outraEstacao.altera(lidoPorB,
                                {nome, false, {{QStringLiteral("DataCadastro"), QStringLiteral("01-01-2020")}}});
        else
            QVERIFY(outraEstacao.exclui(lidoPorB, avisos));
        if (acao == QLatin1String("alterar o excluído")) {
            f->Alterando();
        } else if (acao == QLatin1String("alterar")) {
            m_dialogs->proximaResposta(resposta);
            f->Gravando(Form::Fim::Gravar);
        } else {
            m_dialogs->proximaResposta(Dialogs::Resposta::Sim); // "Apaga este Traço de Concreto?"
            f->Excluindo();
        }
        QCOMPARE(m_dialogs->mensagens().last().titulo, titulo);
        QCOMPARE(f->alterando, editando);
        if (editando)
            f->Gravando(outra == QLatin1String("altera") ? Form::Fim::Gravar : Form::Fim::Cancelar);
        QVERIFY(!f->alterando && !f->inserindo);
        QCOMPARE(m_dialogs->mensagens().last().titulo, titulo); // no further message, no developer box
        QCOMPARE(valor(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt(), linhas);
        if (!cadastro.isEmpty()) {
            QCOMPARE(valor(QStringLiteral("SELECT DataCadastro FROM Tracos WHERE NomeTraco = ? AND TracoVariante = 1"),
                           {nome})
                         .toString(),
                     cadastro);
            QCOMPARE(f->TextoC[3]->text(), cadastro);
        }
    }

    // A database another workstation holds: the user is told, and nothing typed is lost: the save goes through once
    // the other workstation is done.
    void bancoPresoNaInclusao()
    {
        Janela j;
        Form* f = j.form();
        f->esperaMaximaMs = 0;
        teste::esperaCurta(platform::Database::shared(), 50);
        platform::Database b(QStringLiteral("outra-estacao"));
        b.open(j.pasta.local());
        f->Inserindo();
        preencheMistura(f, QStringLiteral("Laje Treliçada"));
        b.beginTransaction();
        f->Gravando(Form::Fim::Gravar);
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().titulo, QStringLiteral("Banco de dados ocupado"));
        QVERIFY(f->inserindo);
        b.rollbackTransaction();
        f->Gravando(Form::Fim::Gravar);
        QVERIFY(!f->inserindo);
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(f->TextoC[0]->text(), QStringLiteral("Laje Treliçada"));
        QCOMPARE(f->totalRegistros(), 13);
    }

    // Closing the program while a mix is inserted never loses it silently.
    void fecharDuranteAInclusao_data()
    {
        QTest::addColumn<Dialogs::Resposta>("resposta");
        QTest::addColumn<bool>("fechou");
        QTest::addColumn<int>("linhas");
        QTest::newRow("grava e fecha") << Dialogs::Resposta::Sim << true << 13;
        QTest::newRow("fecha sem gravar") << Dialogs::Resposta::Nao << true << 12;
        QTest::newRow("continua incluindo") << Dialogs::Resposta::Cancelar << false << 12;
    }
    void fecharDuranteAInclusao()
    {
        QFETCH(Dialogs::Resposta, resposta);
        QFETCH(bool, fechou);
        QFETCH(int, linhas);
        Janela j;
        Form* f = j.form();
        f->Inserindo();
        preencheMistura(f, QStringLiteral("Laje Fechada"));
        m_dialogs->proximaResposta(resposta);
        QCOMPARE(j.traco->close(), fechou);
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().texto, QStringLiteral("Deseja gravar as alterações do traço?"));
        QCOMPARE(m_dialogs->mensagens().first().botoes, Dialogs::Botoes::SimNaoCancelar);
        QCOMPARE(f->inserindo, !fechou);
        QCOMPARE(platform::Database::shared().isOpen(), !fechou);
        platform::Database conferencia(QStringLiteral("conferencia"));
        conferencia.open(j.pasta.local());
        QCOMPARE(conferencia.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt(), linhas);
    }
};

QUENVAR_TEST(TestEdicao)
#include "tst_edicao.moc"
