#include "testregistry.h"

#include "acessibilidade.h"
#include "app/ferramentas.h"
#include "app/sobre.h"
#include "app/traco.h"
#include "calc/formats.h"
#include "desktop/ajuda.h"
#include "desktop/scripteddialogs.h"
#include "desktop/som.h"
#include "janelateste.h"
#include "platform/database.h"
#include "settings/formcons.h"
#include "settings/formmass.h"
#include "widgets/caixatexto.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using desktop::Dialogs;
using desktop::ScriptedDialogs;
using Form = mixform::FormTraco;
using teste::Janela;

class TestTraco : public QObject
{
    Q_OBJECT

private:
    ScriptedDialogs* m_dialogs = nullptr;
    QList<int> m_sons;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        desktop::observaSons([this](int som) { m_sons.append(som); });
    }
    void cleanupTestCase() { desktop::observaSons(nullptr); }

    void init()
    {
        m_dialogs = new ScriptedDialogs;
        Dialogs::instala(std::unique_ptr<Dialogs>(m_dialogs));
        m_sons.clear();
    }

    // The window opens on the catalogue's first mix, or on nothing; the lists come from the products and the
    // catalogue, the price date from the products or today.
    void abre_data()
    {
        QTest::addColumn<bool>("demo");
        QTest::addColumn<QString>("primeiro");
        QTest::addColumn<QList<int>>("listas"); // the entries of the name, cement, sand and admixture lists
        QTest::newRow("demo") << true << "Concreto Aparente fck 30" << QList<int>{8, 4, 5, 3};
        QTest::newRow("vazio") << false << "" << QList<int>{0, 0, 1, 1};
    }
    void abre()
    {
        QFETCH(bool, demo);
        QFETCH(QString, primeiro);
        QFETCH(QList<int>, listas);
        Janela j(demo);
        QVERIFY(j.traco->pronto());
        const int total = demo ? 12 : 0;
        QCOMPARE(j.form()->totalRegistros(), total);
        QCOMPARE(j.registro(), QStringLiteral("Registro %1/%2").arg(demo ? 1 : 0).arg(total));
        QCOMPARE(j.form()->TextoC[0]->text(), primeiro);
        QCOMPARE(j.traco->windowTitle(), QStringLiteral("Quenvar"));
        QCOMPARE(j.traco->textoPainel(1), QStringLiteral("Barra de Informações - Pressione <F1> para ajuda"));
        QCOMPARE(j.traco->textoPainel(4), QStringLiteral("Usuário: "));
        QCOMPARE(j.traco->modoTexto, QStringLiteral("Normal"));
        QVERIFY(j.traco->barra(0)->isVisible() && !j.traco->barra(1)->isVisible());
        QCOMPARE((QList<int>{j.form()->Combo[0]->count(), j.form()->Combo[2]->count(), j.form()->Combo[3]->count(),
                             j.form()->Combo[5]->count()}),
                 listas);
        QCOMPARE(j.form()->Combo[3]->itemText(j.form()->Combo[3]->count() - 1), QStringLiteral("* Nenhum *"));
        QCOMPARE(j.form()->Combo[1]->itemText(3), QStringLiteral("Plástica Seca"));
        QVERIFY(j.form()->dataPrecoCusto.isValid());
        if (demo)
            return;
        QCOMPARE(j.botoes(), QList<bool>(6, false));
        QCOMPARE(j.form()->dataPrecoCusto, QDate::currentDate());
        m_sons.clear();
        j.form()->Movimenta(Form::Proximo);
        j.form()->Movimenta(Form::ProximoEmUso);
        QCOMPARE(m_sons, (QList<int>{7, 7}));
        QCOMPARE(j.registro(), QStringLiteral("Registro 0/0"));
    }

    void navegacao_data()
    {
        QTest::addColumn<QList<int>>("botoes");
        QTest::addColumn<int>("posicao");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QList<bool>>("habilitados");
        const QList<bool> inicio{false, false, false, true, true, true};
        const QList<bool> meio{true, true, true, true, true, true};
        const QList<bool> fim{true, true, true, false, false, false};
        QTest::newRow("primeiro") << QList<int>{Form::Proximo, Form::Primeiro} << 1 << "Concreto Aparente fck 30"
                                  << inicio;
        QTest::newRow("meio") << QList<int>{Form::Proximo, Form::Proximo} << 3 << "Concreto fck 15" << meio;
        QTest::newRow("último") << QList<int>{Form::Ultimo} << 12 << "Traço d'Obra" << fim;
        QTest::newRow("em uso anterior") << QList<int>{Form::Ultimo, Form::AnteriorEmUso} << 11 << "Contrapiso" << meio;
    }
    // The window shows where the catalogue's record stands; the rules of each move are the catalogue's own tests.
    void navegacao()
    {
        QFETCH(QList<int>, botoes);
        QFETCH(int, posicao);
        QFETCH(QString, nome);
        QFETCH(QList<bool>, habilitados);
        Janela j;
        for (int b : botoes)
            j.form()->Movimenta(b);
        QCOMPARE(j.form()->posicao(), posicao);
        QCOMPARE(j.registro(), QStringLiteral("Registro %1/12").arg(posicao));
        QCOMPARE(j.form()->TextoC[0]->text(), nome);
        QCOMPARE(j.botoes(), habilitados);
        if (posicao == 1)
            QCOMPARE(j.traco->focusWidget(), j.form()->Movimento[Form::Proximo]);
    }

    // An archive, or a data folder protected against writing, is browsed: nothing that writes can be started.
    void soConsulta_data()
    {
        QTest::addColumn<bool>("morto");
        QTest::addColumn<QString>("titulo");
        QTest::newRow("arquivo morto") << true << "Quenvar   [Arq. Mortos Carregados]";
        QTest::newRow("somente leitura") << false << "Quenvar   [Somente Leitura]";
    }
    void soConsulta()
    {
        QFETCH(bool, morto);
        QFETCH(QString, titulo);
        using Acesso = platform::Database::Acesso;
        Janela j(true, morto ? QStringList{QStringLiteral("UPDATE DadosEmpresa SET Morto = TRUE")} : QStringList{},
                 morto ? Acesso::LeituraEGravacao : Acesso::SomenteLeitura);
        QCOMPARE(j.traco->arquivoMorto, morto);
        QCOMPARE(j.traco->somenteLeitura, !morto);
        QCOMPARE(j.traco->windowTitle(), titulo);
        for (const char* id : {"ID_AssistentedeTraços", "ID_Incluir", "ID_Alterar", "ID_Excluir"})
            QVERIFY2(!j.traco->ferramenta(QString::fromUtf8(id))->isEnabled(), id);
        // Turning the catalogue page off and on again leaves them disabled.
        QAction* tracos = j.traco->ferramenta(QStringLiteral("ID_Tracos"));
        tracos->trigger();
        QVERIFY(j.form()->Pasta->isHidden());
        tracos->trigger();
        QVERIFY(!j.form()->Pasta->isHidden());
        QVERIFY(!j.traco->ferramenta(QStringLiteral("ID_Incluir"))->isEnabled());
        // Nor does the dispatcher start them when asked directly.
        for (const char* id : {"ID_Incluir", "ID_Alterar"}) {
            j.traco->executa(QString::fromUtf8(id));
            QVERIFY2(!j.form()->inserindo && !j.form()->alterando, id);
        }
        QCOMPARE(j.traco->modoTexto, QStringLiteral("Normal"));
        QVERIFY(m_dialogs->mensagens().isEmpty());
    }

    void linhaMostrada_data()
    {
        QTest::addColumn<QString>("ajuste");
        QTest::addColumn<bool>("cimentoVisivel");
        QTest::addColumn<QString>("unidade");
        QTest::addColumn<int>("variante");
        QTest::addColumn<double>("r"); // the water reduction; above 0 with a superplasticiser
        QTest::newRow("como gravado") << "" << true << "Kg" << 0 << 0.0;
        QTest::newRow("variante 115") << "TracoVariante = 115" << true << "Kg" << 15 << 0.0;
        QTest::newRow("em volume") << "Volumetrico = 1" << true << "Litros" << 0 << 0.0;
        QTest::newRow("medição desconhecida") << "Volumetrico = 5" << true << "" << 0 << 0.0;
        QTest::newRow("sem cimento") << "TracoCimentoCod = 0" << false << "Kg" << 0 << 0.0;
        QTest::newRow("redução de 12") << "ReducaoAgua = '12'" << true << "Kg" << 0 << 0.12;
        QTest::newRow("redução vazia") << "ReducaoAgua = ''" << true << "Kg" << 0 << 0.0;
    }
    void linhaMostrada()
    {
        QFETCH(QString, ajuste);
        QFETCH(bool, cimentoVisivel);
        QFETCH(QString, unidade);
        QFETCH(int, variante);
        QFETCH(double, r);
        QStringList ajustes;
        if (!ajuste.isEmpty())
            ajustes << QStringLiteral("UPDATE Tracos SET %1 WHERE NomeTraco = 'Concreto Aparente fck 30'").arg(ajuste);
        Janela j(true, ajustes);
        Form* f = j.form();
        QCOMPARE(f->TextoC[0]->text(), QStringLiteral("Concreto Aparente fck 30"));
        QCOMPARE(f->RotVar->text(), calc::padded(variante, 2));
        QCOMPARE(f->TextoT[0]->isHidden(), !cimentoVisivel);
        QCOMPARE(f->CompT[0]->text(), cimentoVisivel ? QStringLiteral("Cimento 32") : QString());
        QCOMPARE(f->UnidT[0]->text(), cimentoVisivel ? unidade : QString());
        QCOMPARE(f->UnidM[3]->text(), unidade);
        QCOMPARE(f->UnidT[5]->text(), QStringLiteral("litro"));
        QCOMPARE(j.traco->estado.superplastificante, r > 0);
        QCOMPARE(j.traco->estado.r, r);
        QCOMPARE(f->RotuloPlantao->text(), QStringLiteral("Traço em Uso"));
        QVERIFY(!f->Betoneira[0]->isHidden() && f->Betoneira[1]->isHidden());
        QCOMPARE(f->TextoC[1]->text(), QStringLiteral("Plástica"));
        QCOMPARE(f->TextoC[2]->text(), QStringLiteral("090"));
        QVERIFY(f->OpcaoTextura[1]->isChecked());
        QVERIFY(f->TipoConcreto[2]->isChecked());
        // Quantities shown with one decimal and the decimal comma.
        QVERIFY(f->TextoT[1]->text().endsWith(QStringLiteral(",0")));
    }

    void campoNuloSoFaltaEle()
    {
        // A field that cannot be shown leaves its own box as it was; the boxes beside it still show the row.
        Janela j(true, {QStringLiteral("UPDATE Tracos SET DataCadastro = NULL, Peso = NULL, Perda = NULL "
                                       "WHERE NomeTraco = 'Concreto Aparente fck 30'")});
        Form* f = j.form();
        QSqlQuery linha = platform::Database::shared().exec(
            QStringLiteral("SELECT DataCotacao, ReducaoAgua, RelAgregCimento, Resistencia, PrecoCustoComPerda "
                           "FROM Tracos WHERE NomeTraco = 'Concreto Aparente fck 30'"));
        QVERIFY(linha.next());
        f->Movimenta(Form::Ultimo);
        const QString cadastro = f->TextoC[3]->text();
        const QString peso = f->TextoI[0]->text();
        f->Movimenta(Form::Primeiro);
        QCOMPARE(f->TextoC[0]->text(), QStringLiteral("Concreto Aparente fck 30"));
        QCOMPARE(f->TextoC[3]->text(), cadastro);
        QCOMPARE(f->TextoI[0]->text(), peso);
        QCOMPARE(f->TextoC[4]->text(), linha.value(0).toString());
        QCOMPARE(f->TextoC[5]->text(), linha.value(1).toString());
        QCOMPARE(f->TextoI[1]->text(), linha.value(2).toString());
        QCOMPARE(f->TextoI[5]->text(), linha.value(3).toString());
        QCOMPARE(f->custo(2), linha.value(4).toDouble());
    }

    // While the wizard's mix waits to be copied the view stays as it was; then the last mix shows: out of use, no
    // admixture, its rows emptied and hidden.
    void assistentePendenteEUltimoTraco()
    {
        Janela j;
        Form* f = j.form();
        f->magoPendente = true;
        f->Movimenta(Form::Ultimo);
        QCOMPARE(f->TextoC[0]->text(), QStringLiteral("Concreto Aparente fck 30"));
        QCOMPARE(j.registro(), QStringLiteral("Registro 1/12"));
        f->magoPendente = false;
        f->MostraNumero();
        QCOMPARE(f->TextoC[0]->text(), QStringLiteral("Traço d'Obra"));
        QCOMPARE(f->RotuloPlantao->text(), QStringLiteral("Traço Inativo"));
        QVERIFY(f->Betoneira[0]->isHidden() && !f->Betoneira[1]->isHidden());
        QVERIFY(!f->TracoCorrente->isChecked());
        QVERIFY(f->TextoT[5]->isHidden());
        QCOMPARE(f->CompM[5]->text(), QString());
        QCOMPARE(f->UnidT[3]->text(), QStringLiteral("Litros"));
    }

    void modos()
    {
        Janela j;
        Form* f = j.form();
        j.traco->Modo(Form::Operacao::Inserir);
        QCOMPARE(j.traco->modoTexto, QStringLiteral("Edicao"));
        QVERIFY(!j.traco->menuDoId(QStringLiteral("ID_Editar"))->menuAction()->isEnabled());
        QVERIFY(!j.traco->menuDoId(QStringLiteral("ID_Relatórios"))->menuAction()->isEnabled());
        for (QComboBox* c : f->Combo)
            QVERIFY(!c->isHidden());
        QVERIFY(f->TextoC[5]->isHidden());
        QVERIFY(!f->TextoT[0]->isReadOnly() && f->TextoM[0]->isReadOnly());
        QVERIFY(f->TextoT[7]->isReadOnly() && f->TextoT[8]->isReadOnly());
        QVERIFY(f->TextoT[1]->text().isEmpty() && f->TextoM[1]->text().isEmpty());
        QVERIFY(!f->Custo[1]->isReadOnly() && f->Custo[0]->isReadOnly());
        QVERIFY(!f->TracoCorrente->isHidden() && f->RotuloPlantao->isHidden());
        QVERIFY(!f->Redutor->isHidden() && !f->perc1->isHidden() && f->perc2->isHidden());
        QVERIFY(f->Massa[0]->isEnabled());

        j.traco->Modo(Form::Operacao::Visualizar);
        QCOMPARE(j.traco->modoTexto, QStringLiteral("Normal"));
        QVERIFY(j.traco->menuDoId(QStringLiteral("ID_Editar"))->menuAction()->isEnabled());
        for (QComboBox* c : f->Combo)
            QVERIFY(c->isHidden());
        QVERIFY(!f->TextoC[5]->isHidden() && f->TextoC[0]->isReadOnly());
        QVERIFY(f->TextoT[0]->isReadOnly());
        QVERIFY(f->TracoCorrente->isHidden() && !f->RotuloPlantao->isHidden());
        QVERIFY(!f->Massa[0]->isEnabled());

        // "Alterar" keeps the shown quantities.
        j.form()->MostraNumero();
        const QString cimento = f->TextoT[0]->text();
        j.traco->Modo(Form::Operacao::Alterar);
        QCOMPARE(f->TextoT[0]->text(), cimento);
    }

    void ferramentas()
    {
        Janela j;
        for (const app::Ferramenta& f : app::Ferramentas::todas()) {
            QAction* acao = j.traco->ferramenta(f.id);
            QVERIFY2(acao, qPrintable(f.id));
            QCOMPARE(acao->objectName(), f.id);
            QCOMPARE(acao->text(), f.legenda);
        }
        QCOMPARE(j.traco->ferramenta(QStringLiteral("ID_MassasEspecíficas"))->toolTip(),
                 QStringLiteral("Massas Específicas e Tipos de Dosagens "));
        QVERIFY(!j.traco->ferramenta(QStringLiteral("ID_Modulo7"))->isEnabled());
        QVERIFY(!j.traco->ferramenta(QStringLiteral("ID_Gravar"))->isEnabled());
        QVERIFY(j.traco->ferramenta(QStringLiteral("ID_Tracos"))->isChecked());
        // The tool bars cannot be hidden or moved by the user.
        QVERIFY(!j.traco->createPopupMenu());
        QVERIFY(!j.traco->barra(0)->isMovable() && !j.traco->barra(0)->isFloatable());
        // Pointing at a tool plays its sound and puts its tip in the status bar; leaving the menu puts it back.
        m_sons.clear();
        emit j.traco->ferramenta(QStringLiteral("ID_Sair"))->hovered();
        QCOMPARE(j.traco->textoPainel(1), QStringLiteral("Para sair do programa"));
        QCOMPARE(m_sons, QList<int>{6});
        j.traco->MostraStatus(QString());
        QCOMPARE(j.traco->textoPainel(1), QStringLiteral("Barra de Informações - Pressione <F1> para ajuda"));
    }

    void painelDoModo_data()
    {
        QTest::addColumn<QString>("ferramenta");
        QTest::addColumn<QString>("modo");
        QTest::newRow("incluindo") << "ID_Incluir"
                                   << "Inserindo novo registro";
        QTest::newRow("alterando") << "ID_Alterar"
                                   << "Alterando Registro";
    }
    void painelDoModo()
    {
        QFETCH(QString, ferramenta);
        QFETCH(QString, modo);
        Janela j;
        j.traco->ferramenta(ferramenta)->trigger();
        QCOMPARE(j.traco->textoPainel(1), modo);
        // The mouse that clicked the tool points at another and leaves the tool bar: the mode stays in the panel.
        emit j.traco->ferramenta(QStringLiteral("ID_Gravar"))->hovered();
        QEvent saida(QEvent::Leave);
        QApplication::sendEvent(j.traco->barra(1), &saida);
        QCOMPARE(j.traco->textoPainel(1), modo);
        j.traco->ferramenta(QStringLiteral("ID_Cancelar"))->trigger();
        QApplication::sendEvent(j.traco->barra(0), &saida);
        QCOMPARE(j.traco->textoPainel(1), QStringLiteral("Barra de Informações - Pressione <F1> para ajuda"));
    }

    void nomesAcessiveis_data()
    {
        QTest::addColumn<int>("pagina");
        QTest::addColumn<int>("modo");
        for (int pagina = 0; pagina < 3; ++pagina)
            for (const auto& [nome, modo] :
                 {std::pair{"vendo", Form::Operacao::Visualizar}, {"incluindo", Form::Operacao::Inserir}})
                QTest::addRow("pagina %d %s", pagina, nome) << pagina << int(modo);
    }
    void nomesAcessiveis()
    {
        // What a screen reader says of each control the Tab key reaches: never nothing, never the same for two.
        QFETCH(int, pagina);
        QFETCH(int, modo);
        Janela j;
        j.traco->Modo(Form::Operacao(modo));
        j.form()->MostraMovimento(modo == int(Form::Operacao::Visualizar));
        j.form()->Pasta->setCurrentIndex(pagina);
        QList<QWidget*> controles;
        for (QWidget* w : j.traco->findChildren<QWidget*>()) {
            if (w->focusPolicy() != Qt::NoFocus && w->isVisibleTo(j.traco.get()) && w->isEnabled() &&
                !qobject_cast<QTabBar*>(w->parentWidget()) && !qobject_cast<QComboBox*>(w->parentWidget()))
                controles.append(w);
        }
        const QStringList problemas = teste::nomesEmFalta(controles);
        QVERIFY2(problemas.isEmpty(), qPrintable(problemas.join(QStringLiteral("; "))));
        if (modo == int(Form::Operacao::Visualizar)) {
            const QStringList movimentos{"Primeiro",       "Anterior", "Em uso anterior",
                                         "Próximo em uso", "Próximo",  "Último"};
            for (int i = 0; i < 6; ++i)
                QCOMPARE(teste::nomeAcessivel(j.form()->Movimento[i]), movimentos.at(i));
        }
        // A quantity is named by the material its row shows.
        QCOMPARE(QAccessible::queryAccessibleInterface(j.form()->TextoM[0])->text(QAccessible::Name),
                 QStringLiteral("Cimento 32 por metro cúbico"));
    }

    void aceleradoresSemConflito_data()
    {
        QTest::addColumn<QString>("janela");
        for (const char* janela : {"vendo", "incluindo", "massas", "consistências", "sobre"})
            QTest::newRow(janela) << QString::fromUtf8(janela);
    }
    void aceleradoresSemConflito()
    {
        QFETCH(QString, janela);
        Janela j;
        std::unique_ptr<QWidget> outra;
        QWidget* alvo = j.traco.get();
        if (janela == QLatin1String("incluindo"))
            j.traco->ferramenta(QStringLiteral("ID_Incluir"))->trigger();
        else if (janela == QLatin1String("massas"))
            outra = std::make_unique<settings::FormMass>(platform::Database::shared());
        else if (janela == QLatin1String("consistências"))
            outra = std::make_unique<settings::FormCons>(platform::Database::shared());
        else if (janela == QLatin1String("sobre"))
            outra = std::make_unique<app::Sobre>(QStringLiteral("Empresa"));
        if (outra) {
            outra->show();
            alvo = outra.get();
        }
        const QStringList repetidos = teste::aceleradoresRepetidos(alvo);
        QVERIFY2(repetidos.isEmpty(), qPrintable(repetidos.join(QStringLiteral("; "))));
        if (janela == QLatin1String("incluindo")) {
            // Typing a name, Alt+O turns the page and types nothing.
            QVERIFY(QTest::qWaitForWindowActive(j.traco.get()));
            QLineEdit* nome = j.form()->Combo[0]->lineEdit();
            nome->setFocus();
            QTest::keyClicks(nome, QStringLiteral("Exemplo"));
            QTest::keyClick(nome, Qt::Key_O, Qt::AltModifier);
            QCOMPARE(j.form()->Pasta->currentIndex(), 1);
            QCOMPARE(nome->text(), QStringLiteral("Exemplo"));
        }
    }

    void todoControleExplicaOQueE()
    {
        Janela j;
        const QStringList semTexto = teste::semExplicacao(*j.form(), true);
        QVERIFY2(semTexto.isEmpty(), qPrintable(semTexto.join(QStringLiteral(", "))));
    }

    void esc_data()
    {
        QTest::addColumn<bool>("sim");
        QTest::newRow("não fica") << false;
        QTest::newRow("sim fecha") << true;
    }
    void esc()
    {
        QFETCH(bool, sim);
        Janela j;
        m_dialogs->proximaResposta(sim ? Dialogs::Resposta::Sim : Dialogs::Resposta::Nao);
        QTest::keyClick(j.form()->Movimento[Form::Proximo], Qt::Key_Escape);
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        const ScriptedDialogs::Mensagem& m = m_dialogs->mensagens().first();
        QCOMPARE(m.texto, QStringLiteral("Quer sair do programa?"));
        QCOMPARE(m.titulo, QStringLiteral("Finalizando"));
        QCOMPARE(m.botoes, Dialogs::Botoes::SimNao);
        QCOMPARE(m.padrao, Dialogs::Resposta::Nao);
        QCOMPARE(m.icone, Dialogs::Icone::Pergunta);
        QCOMPARE(j.traco->isVisible(), !sim);
        QCOMPARE(platform::Database::shared().isOpen(), !sim);
    }

    void f1PelaPagina_data()
    {
        QTest::addColumn<int>("pagina");
        QTest::addColumn<int>("topico");
        QTest::newRow("primeira") << 0 << 3001;
        QTest::newRow("terceira") << 2 << 3003;
    }
    void f1PelaPagina()
    {
        QFETCH(int, pagina);
        QFETCH(int, topico);
        Janela j;
        QList<int> topicos;
        desktop::Ajuda::defineVisualizador([&topicos](QWidget*, const QString&, int t) {
            topicos.append(t);
            return true;
        });
        j.form()->Pasta->setCurrentIndex(pagina);
        QWidget* alvo = pagina == 0 ? static_cast<QWidget*>(j.form()->TextoC[0]) : j.form()->TextoI[0];
        QTest::keyClick(alvo, Qt::Key_F1);
        j.traco->executa(QStringLiteral("ID_AjudadoPrograma"));
        // The contents are topic 0.
        j.traco->executa(QStringLiteral("ID_ConteúdoeÍndice"));
        desktop::Ajuda::defineVisualizador(nullptr);
        QCOMPARE(topicos, (QList<int>{topico, topico, 0}));
        QVERIFY(m_dialogs->mensagens().isEmpty());
    }

    void formulariosDeReferenciaVoltamAoTraco()
    {
        Janela j;
        j.form()->Movimenta(Form::Ultimo);
        settings::FormMass massas(platform::Database::shared());
        settings::FormCons consistencias(platform::Database::shared());
        bool ocupadoDurante = false;
        m_dialogs->proximoModal([&](QDialog*) {
            ocupadoDurante = j.traco->ocupado;
            // Moving the catalogue while the form is open does not lose the user's place.
            j.form()->tracos().moveFirst();
            return int(QDialog::Accepted);
        });
        j.traco->defineFormularios(&massas, &consistencias, nullptr, nullptr);
        j.traco->RotinaMassa();
        QVERIFY(ocupadoDurante);
        QVERIFY(!j.traco->ocupado);
        QCOMPARE(j.form()->posicao(), 12);
        QCOMPARE(j.form()->TextoC[0]->text(), QStringLiteral("Traço d'Obra"));
        QVERIFY(!j.form()->Pasta->isHidden());
        QCOMPARE(m_dialogs->modaisMostrados(), QList<QDialog*>{&massas});
    }

    void botaoDireito()
    {
        Janela j;
        QVERIFY(QTest::qWaitForWindowExposed(j.traco.get()));
        QWidget* doMenu = nullptr;
        const auto fechaOMenu = [&] {
            QTimer::singleShot(50, [&] {
                doMenu = j.traco->controleDoMenu();
                if (QWidget* menu = QApplication::activePopupWidget())
                    menu->close();
            });
        };
        fechaOMenu();
        QTest::mouseClick(j.form()->RotVar, Qt::RightButton);
        QCOMPARE(j.traco->ultimoMenuBotao(), QStringLiteral("ID_EditarE"));
        QCOMPARE(doMenu, j.form()->RotVar);
        // Over the window itself the menu speaks of the control with the focus.
        j.form()->Movimento[4]->setFocus();
        fechaOMenu();
        QTest::mouseClick(j.form(), Qt::RightButton, {}, QPoint(2, 2));
        QCOMPARE(doMenu, j.form()->Movimento[4]);
        // While editing the navigation buttons are hidden and the file menu is offered.
        j.form()->MostraMovimento(false);
        fechaOMenu();
        QTest::mouseClick(j.form()->Betoneira[0], Qt::RightButton);
        QCOMPARE(j.traco->ultimoMenuBotao(), QStringLiteral("ID_ArquivoE"));
        QCOMPARE(doMenu, j.form()->Betoneira[0]);
    }

    void enterNasListas()
    {
        Janela j;
        j.traco->Modo(Form::Operacao::Inserir);
        j.form()->inserindo = true;
        j.form()->Pasta->setCurrentIndex(0);
        QTest::keyClick(j.form()->Combo[8], Qt::Key_Return);
        QCOMPARE(j.form()->Pasta->currentIndex(), 1);
        QCOMPARE(j.traco->focusWidget(), j.form()->Texto[0]);
        // Enter in the name list is consumed and goes to the next field, never into the list.
        const int nomes = j.form()->Combo[0]->count();
        j.form()->Combo[0]->setEditText(QStringLiteral("Novo"));
        QTest::keyClick(j.form()->Combo[0]->lineEdit(), Qt::Key_Return);
        QCOMPARE(j.form()->Combo[0]->count(), nomes);
        // Enter on the in-use box neither ticks it nor stays there: it goes on to the field after it.
        QCheckBox* emUso = j.form()->TracoCorrente;
        emUso->setFocus();
        QCOMPARE(j.traco->focusWidget(), emUso);
        const bool marcado = emUso->isChecked();
        QTest::keyClick(emUso, Qt::Key_Return);
        QCOMPARE(emUso->isChecked(), marcado);
        QVERIFY(j.traco->focusWidget() != emUso);
        QVERIFY(j.form()->isAncestorOf(j.traco->focusWidget()));
        j.form()->inserindo = false;
    }

    // The CO2 of the mix shown: no figure without a single factor, a partial one naming what lacks a factor, and with
    // the cement at 1 kg CO2e a kg (50 a 50 kg bag) and every other product at 0, its kilograms of cement.
    void co2NosResultados_data()
    {
        QTest::addColumn<QString>("fatores"); // the factor of the cement, then of every other product; "" none
        QTest::addColumn<QString>("inicio");
        QTest::addColumn<bool>("semFator");
        QTest::newRow("nenhum fator") << ""
                                      << "CO₂: — (nenhum fator de emissão)" << true;
        QTest::newRow("só o cimento") << "50"
                                      << "CO₂: @ kg CO₂e/m³ (parcial)" << true;
        QTest::newRow("todos") << "50 0"
                               << "CO₂: @ kg CO₂e/m³" << false;
    }
    void co2NosResultados()
    {
        QFETCH(QString, fatores);
        QFETCH(QString, inicio);
        QFETCH(bool, semFator);
        QStringList ajustes;
        const QStringList f = fatores.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.size() > 1)
            ajustes << QStringLiteral("INSERT INTO FatoresEmissao (CodigoProduto, FatorCO2) SELECT CodigoProduto, %1 "
                                      "FROM Produtos")
                           .arg(f[1]);
        if (!f.isEmpty())
            ajustes << QStringLiteral("DELETE FROM FatoresEmissao WHERE CodigoProduto = (SELECT CodigoProduto FROM "
                                      "Produtos WHERE NomeProduto = 'Cimento 32')")
                    << QStringLiteral("INSERT INTO FatoresEmissao (CodigoProduto, FatorCO2) SELECT CodigoProduto, %1 "
                                      "FROM Produtos WHERE NomeProduto = 'Cimento 32'")
                           .arg(f[0]);
        Janela j(true, ajustes);
        const qint64 codigo = j.form()->tracos().field(QStringLiteral("Codigo")).toLongLong();
        QLocale semMilhar;
        semMilhar.setNumberOptions(QLocale::OmitGroupSeparator);
        const double cimento = platform::Database::shared()
                                   .scalar(QStringLiteral("SELECT Cimento FROM Tracos WHERE Codigo = ?"), {codigo})
                                   .toDouble();
        const QStringList linhas = j.form()->TextoCO2->text().split(QLatin1Char('\n'));
        QCOMPARE(linhas.first(), inicio.replace(QLatin1Char('@'), semMilhar.toString(cimento, 'f', 1)));
        // The products without a factor on a second line; the cement among them only when it has none.
        QCOMPARE(linhas.size() > 1, semFator);
        if (semFator) {
            QVERIFY(linhas[1].startsWith(QStringLiteral("sem fator: ")));
            QCOMPARE(linhas[1].contains(QStringLiteral("Cimento 32")), f.isEmpty());
        }
    }

    // The first mix of the demo (w/c 0,44, fck 32, 454 kg of cement) against the class stored with it, as the results
    // page shows it; another class chosen while editing is what the row stores.
    void durabilidadeNosResultados_data()
    {
        QTest::addColumn<int>("classe");
        QTest::addColumn<int>("estrutura");
        QTest::addColumn<QString>("texto");

        QTest::newRow("sem classe") << 0 << 0 << "Sem classe de agressividade: nada a verificar.";
        QTest::newRow("III armado") << 3 << 0
                                    << "Agressividade III – forte, concreto armado:\na/c 0,44 (máx. 0,55): atende; "
                                       "fck 32 MPa (mín. C30): atende; cimento 454 kg/m³ (mín. 320): atende.";
        QTest::newRow("IV protendido") << 4 << 1
                                       << "Agressividade IV – muito forte, concreto protendido:\na/c 0,44 (máx. 0,45): "
                                          "atende; fck 32 MPa (mín. C40): NÃO ATENDE; cimento 454 kg/m³ (mín. 360): "
                                          "atende.";
    }
    void durabilidadeNosResultados()
    {
        QFETCH(int, classe);
        QFETCH(int, estrutura);
        QFETCH(QString, texto);
        Janela j(
            true,
            {QStringLiteral("UPDATE Tracos SET ClasseAgressividade = %1, Estrutura = %2").arg(classe).arg(estrutura)});
        QCOMPARE(j.form()->TextoDurabilidade->text(), texto);
        QCOMPARE(j.form()->ClasseAgressividade->currentIndex(), classe);

        j.traco->executa(QStringLiteral("ID_Alterar"));
        j.form()->ClasseAgressividade->setCurrentIndex(classe == 3 ? 1 : 3);
        QVERIFY(j.form()->TextoDurabilidade->text().contains(
            classe == 3 ? QStringLiteral("Agressividade I – fraca") : QStringLiteral("Agressividade III – forte")));
        j.traco->executa(QStringLiteral("ID_Gravar"));
        const qint64 codigo = j.form()->tracos().field(QStringLiteral("Codigo")).toLongLong();
        QCOMPARE(platform::Database::shared()
                     .scalar(QStringLiteral("SELECT ClasseAgressividade FROM Tracos WHERE Codigo = ?"), {codigo})
                     .toInt(),
                 classe == 3 ? 1 : 3);
    }

    void limitesDoFormularioDeConsistencias()
    {
        Janela j(true, {QStringLiteral("UPDATE Consistencias SET Abate3 = '95', Abate2 = '120'")});
        // Slump 090 is "Plástica" with the standard limits and "Plástica Seca" once Plástica starts above 95.
        QCOMPARE(j.form()->TextoC[1]->text(), QStringLiteral("Plástica Seca"));
        platform::Database::shared().exec(QStringLiteral("UPDATE Consistencias SET Abate3 = '50', Abate2 = '90'"));
        settings::FormCons consistencias(platform::Database::shared());
        j.traco->defineFormularios(nullptr, &consistencias, nullptr, nullptr);
        j.form()->MostraNumero();
        QCOMPARE(j.form()->TextoC[1]->text(), QStringLiteral("Plástica"));
    }
};

QUENVAR_TEST(TestTraco)
#include "tst_traco.moc"
