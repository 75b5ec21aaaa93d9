#include "testregistry.h"

#include "acessibilidade.h"
#include "ambiente.h"
#include "settings/formcons.h"
#include "settings/formmass.h"
#include "widgets/caixatexto.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>

using desktop::Dialogs;
using settings::FormMass;

namespace {

const QStringList kCampos{"MassaCimentoEsp", "MassaCimentoApa", "MassaMiudoEsp", "MassaMiudoApa", "MassaGraudoEsp",
                          "MassaGraudoApa",  "UmidadeMiudo",    "MaodeObra",     "Perda"};
const QStringList kPadroes{"3.10", "1.43", "2.61", "1.20", "2.72", "1.38", "6", "20", "5"};
// A company that has moved every reference value away from the defaults.
const QStringList kProprios{"3,15", "1,40", "2,65", "1,50", "2,70", "1,45", "4,5", "22", "3"};

void guardaProprios()
{
    QString sql =
        QStringLiteral("UPDATE Massas SET Classe = 'ARI', TipoDosagem = 0, FormaDaBrita = 2, UsoConcreto = 3");
    QVariantList valores;
    for (int i = 0; i < kCampos.size(); ++i) {
        sql += QStringLiteral(", %1 = ?").arg(kCampos.at(i));
        valores.append(kProprios.at(i));
    }
    Ambiente::executa(sql, valores);
}

QVariantMap guardada()
{
    const QList<QVariantMap> linhas = Ambiente::linhas(QStringLiteral("Massas"));
    return linhas.size() == 1 ? linhas.first() : QVariantMap();
}

QStringList textosGuardados()
{
    const QVariantMap linha = guardada();
    QStringList resultado;
    for (const QString& campo : kCampos)
        resultado.append(linha.value(campo).toString());
    return resultado;
}

QStringList textos(const FormMass& form)
{
    QStringList resultado;
    for (int i = 0; i < FormMass::NumeroDeTextos; ++i)
        resultado.append(form.texto(i)->text());
    return resultado;
}

QPushButton* botao(const FormMass& form, int i)
{
    return form.findChild<QPushButton*>(QStringLiteral("BotaoDados%1").arg(i));
}

QTabWidget* pastinha(const FormMass& form)
{
    return form.findChild<QTabWidget*>(QStringLiteral("Pastinha"));
}

// Option, class and use as "forma/textura/uso/classe", the way the form shows them and the way the table holds them.
QString opcoes(const FormMass& form)
{
    return QStringLiteral("%1/%2/%3/%4")
        .arg(form.opcaoForma())
        .arg(form.opcaoTextura())
        .arg(form.tipoConcreto())
        .arg(form.classeCimento()->currentText());
}
QString opcoesGuardadas()
{
    const QVariantMap linha = guardada();
    return QStringLiteral("%1/%2/%3/%4")
        .arg(linha.value("TipoDosagem").toInt())
        .arg(linha.value("FormaDaBrita").toInt())
        .arg(linha.value("UsoConcreto").toInt())
        .arg(linha.value("Classe").toString());
}

} // namespace

class TestFormMass : public QObject
{
    Q_OBJECT

private:
    Ambiente m_ambiente;

private slots:
    void init() { QVERIFY(m_ambiente.prepara()); }
    void cleanup() { m_ambiente.encerra(); }

    // Both settings forms: every control has its explanation.
    void todoControleExplicaOQueE()
    {
        const FormMass massas(platform::Database::shared());
        const settings::FormCons consistencias(platform::Database::shared());
        const QStringList faltando = teste::semExplicacao(massas) + teste::semExplicacao(consistencias);
        QVERIFY2(faltando.isEmpty(), qPrintable(faltando.join(QStringLiteral(", "))));
    }

    void leitoresEncontramALinhaGuardada()
    {
        guardaProprios();
        FormMass form(platform::Database::shared());
        QCOMPARE(textos(form), kProprios);
        QCOMPARE(opcoes(form), QStringLiteral("0/2/3/ARI"));
        QVERIFY(form.findChild<QRadioButton*>(QStringLiteral("OpcaoTextura2"))->isChecked());
    }

    void opcaoGuardadaForaDoGrupoFicaNoPadrao()
    {
        Ambiente::executa(QStringLiteral("UPDATE Massas SET TipoDosagem = 7, FormaDaBrita = NULL, UsoConcreto = -1"));
        FormMass form(platform::Database::shared());
        QCOMPARE(opcoes(form), QStringLiteral("2/1/0/32"));
    }

    void okGravaCaixasClasseEOpcoes()
    {
        auto form = m_ambiente.abre<FormMass>();
        QVERIFY(form);
        QSignalSpy vista(form.get(), &FormMass::atualizaVista);
        form->texto(3)->setFocus();
        QTest::keyClicks(form->texto(3), QStringLiteral("1.2,5"));
        form->texto(7)->setText(QStringLiteral("18"));
        form->classeCimento()->setCurrentText(QStringLiteral("40"));
        for (const char* nome : {"OpcaoForma0", "OpcaoTextura2", "TipoConcreto3"})
            form->findChild<QRadioButton*>(QLatin1String(nome))->setChecked(true);
        botao(*form, 0)->click();

        QStringList esperado = kPadroes;
        esperado[3] = QStringLiteral("1,25");
        esperado[7] = QStringLiteral("18");
        QCOMPARE(textosGuardados(), esperado);
        QCOMPARE(opcoesGuardadas(), QStringLiteral("0/2/3/40"));
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(vista.count(), 1);
        QCOMPARE(m_ambiente.sons, QList<int>{7});
    }

    // Every new mix starts from these values: a box without a plausible number is refused before anything is
    // written, and the focus goes back to it on its page.
    void okRecusaValorImplausivel_data()
    {
        QTest::addColumn<int>("caixa");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("pagina");
        QTest::addColumn<QString>("mensagem");

        QTest::newRow("massa específica não numérica")
            << 0 << "abc" << 0
            << "A massa específica do cimento não pode ser \"abc\".\rInforme um número entre 1,0 "
               "e 4,0 kg/l.";
        QTest::newRow("massa aparente de cimento compactado")
            << 1 << "3,1" << 0
            << "A massa aparente do cimento não pode ser \"3,1\".\rInforme um número entre 0,5 "
               "e 2,5 kg/l.";
        QTest::newRow("umidade em branco") << 6 << "" << 0
                                           << "A umidade do agregado miúdo está em branco.\rInforme um número entre 0 "
                                              "e 20 %.";
        QTest::newRow("perda negativa") << 8 << "-1" << 2
                                        << "A perda do concreto não pode ser \"-1\".\rInforme um número igual ou "
                                           "maior que 0 %.";
    }
    void okRecusaValorImplausivel()
    {
        QFETCH(int, caixa);
        QFETCH(QString, texto);
        QFETCH(int, pagina);
        QFETCH(QString, mensagem);
        auto form = m_ambiente.abre<FormMass>();
        QVERIFY(form);
        form->texto(caixa)->setText(texto);
        botao(*form, 0)->click();
        QCOMPARE(m_ambiente.dialogs->mensagens().size(), 1);
        QCOMPARE(m_ambiente.dialogs->mensagens().first().titulo, QStringLiteral("Valor inválido"));
        QCOMPARE(m_ambiente.dialogs->mensagens().first().texto, mensagem);
        QCOMPARE(textosGuardados(), kPadroes);
        QVERIFY(form->isVisible());
        QCOMPARE(form->findChild<QTabWidget*>(QStringLiteral("Pastinha"))->currentIndex(), pagina);
        QCOMPARE(form->focusWidget(), form->texto(caixa));
    }

    void padraoNaoTocaClasseNemUso()
    {
        guardaProprios();
        auto form = m_ambiente.abre<FormMass>();
        QVERIFY(form);
        m_ambiente.dialogs->proximaResposta(Dialogs::Resposta::Sim);
        botao(*form, 2)->click();
        QCOMPARE(m_ambiente.dialogs->mensagens().size(), 1);
        const auto& pergunta = m_ambiente.dialogs->mensagens().first();
        QCOMPARE(pergunta.texto, QStringLiteral("Deseja que todos os dados\rretornem valores iniciais?"));
        QCOMPARE(pergunta.titulo, QStringLiteral("Voltar aos valores padrões"));
        QCOMPARE(pergunta.icone, Dialogs::Icone::Pergunta);
        QCOMPARE(pergunta.botoes, Dialogs::Botoes::SimNao);
        QCOMPARE(textos(*form), kPadroes);
        QCOMPARE(opcoes(*form), QStringLiteral("2/1/3/ARI"));
        QCOMPARE(textosGuardados(), kProprios);

        botao(*form, 0)->click();
        QCOMPARE(textosGuardados(), kPadroes);
        QCOMPARE(opcoesGuardadas(), QStringLiteral("2/1/3/ARI"));
    }

    void padraoRespondidoNaoNaoMudaNada()
    {
        guardaProprios();
        auto form = m_ambiente.abre<FormMass>();
        QVERIFY(form);
        form->texto(0)->setText(QStringLiteral("3,20"));
        m_ambiente.dialogs->proximaResposta(Dialogs::Resposta::Nao);
        botao(*form, 2)->click();
        QCOMPARE(m_ambiente.dialogs->mensagens().size(), 1);
        QCOMPARE(form->texto(0)->text(), QStringLiteral("3,20"));
        QCOMPARE(textos(*form).mid(1), kProprios.mid(1));
        QCOMPARE(opcoes(*form), QStringLiteral("0/2/3/ARI"));
    }

    void cancelarNaoGrava_data()
    {
        QTest::addColumn<QString>("como");
        QTest::newRow("botão Cancelar") << "BotaoDados1";
        QTest::newRow("Esc numa caixa") << "Texto4";
        QTest::newRow("Esc numa opção") << "OpcaoForma2";
    }
    void cancelarNaoGrava()
    {
        QFETCH(QString, como);
        guardaProprios();
        auto form = m_ambiente.abre<FormMass>();
        QVERIFY(form);
        QSignalSpy vista(form.get(), &FormMass::atualizaVista);
        m_ambiente.dialogs->proximaResposta(Dialogs::Resposta::Sim);
        botao(*form, 2)->click();
        form->classeCimento()->setCurrentText(QStringLiteral("25"));
        form->findChild<QRadioButton*>(QStringLiteral("TipoConcreto1"))->setChecked(true);
        m_ambiente.sons.clear();
        if (auto* cancelar = form->findChild<QPushButton*>(como))
            cancelar->click();
        else
            QTest::keyClick(form->findChild<QWidget*>(como), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QCOMPARE(vista.count(), 1);
        QCOMPARE(m_ambiente.sons, QList<int>{7});
        QCOMPARE(textosGuardados(), kProprios);
        QCOMPARE(opcoesGuardadas(), QStringLiteral("0/2/3/ARI"));
        // A reader of the hidden form finds the stored values again.
        QCOMPARE(textos(*form), kProprios);
        QCOMPARE(opcoes(*form), QStringLiteral("0/2/3/ARI"));
    }

    void ativacaoVoltaAPrimeiraPagina()
    {
        auto form = m_ambiente.abre<FormMass>();
        QVERIFY(form);
        pastinha(*form)->setCurrentIndex(2);
        form->texto(8)->setFocus();
        form->hide();
        form->show();
        QCOMPARE(pastinha(*form)->currentIndex(), 0);
        QCOMPARE(form->focusWidget(), form->texto(0));
    }

    void enterSegueAsRegrasDoFormulario_data()
    {
        QTest::addColumn<int>("pagina");
        QTest::addColumn<QString>("origem");
        QTest::addColumn<int>("paginaFinal");
        QTest::addColumn<QString>("destino");
        QTest::newRow("massa vai à seguinte") << 0 << "Texto0" << 0 << "Texto1";
        QTest::newRow("umidade vira a página") << 0 << "Texto6" << 1 << "OpcaoForma0";
        // An option group is one stop, as with Tab: the next control is the next group.
        QTest::newRow("opção vai ao grupo seguinte") << 1 << "OpcaoForma0" << 1 << "OpcaoTextura0";
        QTest::newRow("classe vira a página") << 1 << "ClasseCimento" << 2 << "TipoConcreto0";
        QTest::newRow("mão-de-obra vai às perdas") << 2 << "Texto7" << 2 << "Texto8";
        QTest::newRow("perdas vão ao OK") << 2 << "Texto8" << 2 << "BotaoDados0";
    }
    void enterSegueAsRegrasDoFormulario()
    {
        QFETCH(int, pagina);
        QFETCH(QString, origem);
        QFETCH(int, paginaFinal);
        QFETCH(QString, destino);
        auto form = m_ambiente.abre<FormMass>();
        QVERIFY(form);
        pastinha(*form)->setCurrentIndex(pagina);
        auto* controle = form->findChild<QWidget*>(origem);
        controle->setFocus();
        QTest::keyClick(controle, Qt::Key_Return);
        QCOMPARE(pastinha(*form)->currentIndex(), paginaFinal);
        QCOMPARE(form->focusWidget()->objectName(), destino);
        QVERIFY(form->isVisible());
    }

    void ajudaDaPaginaAtual_data()
    {
        QTest::addColumn<int>("pagina");
        QTest::addColumn<QString>("controle");
        QTest::addColumn<int>("topico");
        QTest::newRow("F1 na primeira página") << 0 << "Texto2" << 1001;
        QTest::newRow("F1 na segunda página") << 1 << "OpcaoTextura1" << 1002;
        QTest::newRow("F1 na lista de classes") << 1 << "ClasseCimento" << 1002;
        QTest::newRow("F1 na terceira página") << 2 << "TipoConcreto2" << 1003;
        QTest::newRow("botão Ajuda na segunda página") << 1 << "BotaoDados3" << 1002;
    }
    void ajudaDaPaginaAtual()
    {
        QFETCH(int, pagina);
        QFETCH(QString, controle);
        QFETCH(int, topico);
        auto form = m_ambiente.abre<FormMass>();
        QVERIFY(form);
        pastinha(*form)->setCurrentIndex(pagina);
        if (auto* ajuda = form->findChild<QPushButton*>(controle)) {
            ajuda->click();
        } else {
            form->findChild<QWidget*>(controle)->setFocus();
            QTest::keyClick(form->findChild<QWidget*>(controle), Qt::Key_F1);
        }
        QCOMPARE(m_ambiente.topicos, QList<int>{topico});
        QVERIFY(form->isVisible());
    }

    void somDoPonteiroEDaPagina()
    {
        auto form = m_ambiente.abre<FormMass>();
        QVERIFY(form);
        for (int i : {0, 0, 1, 1, 0, 3}) {
            QEvent entra(QEvent::Enter);
            QCoreApplication::sendEvent(botao(*form, i), &entra);
        }
        QCOMPARE(m_ambiente.sons, (QList<int>{6, 6, 6, 6}));
        m_ambiente.sons.clear();
        pastinha(*form)->setCurrentIndex(1);
        QCOMPARE(m_ambiente.sons, QList<int>{7});
    }

    void semLinhaOferecePadroesEOkCriaALinha()
    {
        Ambiente::executa(QStringLiteral("DELETE FROM Massas"));
        auto form = m_ambiente.abre<FormMass>();
        QVERIFY(form);
        QCOMPARE(textos(*form), kPadroes);
        QCOMPARE(opcoes(*form), QStringLiteral("2/1/0/32"));
        botao(*form, 0)->click();
        QCOMPARE(textosGuardados(), kPadroes);
        QCOMPARE(opcoesGuardadas(), QStringLiteral("2/1/0/32"));
    }

    // Both settings forms: an archive database, or one in a data folder protected against writing, is browsed,
    // never changed.
    void arquivoMortoSoDeixaVer_data()
    {
        QTest::addColumn<QString>("prefixo");
        QTest::addColumn<QString>("banco");
        for (const char* prefixo : {"BotaoDados", "BotaoFator"})
            for (const char* banco : {"em uso", "arquivo morto", "somente leitura"})
                QTest::addRow("%s, %s", prefixo, banco) << QString::fromLatin1(prefixo) << QString::fromLatin1(banco);
    }
    void arquivoMortoSoDeixaVer()
    {
        QFETCH(QString, prefixo);
        QFETCH(QString, banco);
        Ambiente::executa(QStringLiteral("UPDATE DadosEmpresa SET Morto = ?"), {banco == "arquivo morto"});
        if (banco == "somente leitura") {
            platform::Database& db = platform::Database::shared();
            const QString caminho = db.caminho();
            db.open(caminho, platform::Database::Acesso::SomenteLeitura);
        }
        std::unique_ptr<QDialog> form;
        if (prefixo == "BotaoDados")
            form = std::make_unique<FormMass>(platform::Database::shared());
        else
            form = std::make_unique<settings::FormCons>(platform::Database::shared());
        const bool gravavel = banco == "em uso";
        const QList<bool> habilitados{gravavel, true, gravavel, true};
        for (int i = 0; i < habilitados.size(); ++i)
            QCOMPARE(form->findChild<QPushButton*>(prefixo + QString::number(i))->isEnabled(), habilitados.at(i));
    }
};

QUENVAR_TEST(TestFormMass)
#include "tst_formmass.moc"
