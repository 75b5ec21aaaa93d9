#include "testregistry.h"

#include <QLocale>
#include <QSet>
#include <QTest>

#include <cstdio>
#include <memory>

namespace testing {

std::vector<TestFactory>& registeredTests()
{
    static std::vector<TestFactory> tests;
    return tests;
}

void preparaTelaDeTeste()
{
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen:configfile=" QUENVAR_TELA_DE_TESTE));
}

int runRegisteredTests(int argc, char** argv)
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));

    static const QSet<QString> opcoesComValor{
        QStringLiteral("-o"),        QStringLiteral("-maxwarnings"),  QStringLiteral("-eventdelay"),
        QStringLiteral("-keydelay"), QStringLiteral("-mousedelay"),   QStringLiteral("-iterations"),
        QStringLiteral("-median"),   QStringLiteral("-minimumvalue"), QStringLiteral("-minimumtotal")};
    QStringList opcoes;
    QStringList nomes;
    for (int i = 1; i < argc; ++i) {
        const QString argumento = QString::fromLocal8Bit(argv[i]);
        if (!argumento.startsWith(QLatin1Char('-'))) {
            nomes << argumento;
            continue;
        }
        opcoes << argumento;
        if (opcoesComValor.contains(argumento) && i + 1 < argc)
            opcoes << QString::fromLocal8Bit(argv[++i]);
    }

    int failures = 0;
    QSet<QString> encontrados;
    for (const auto& factory : registeredTests()) {
        std::unique_ptr<QObject> test(factory());
        const QMetaObject* meta = test->metaObject();
        QStringList funcoes;
        for (const QString& nome : std::as_const(nomes)) {
            QString funcao = nome;
            if (const qsizetype separador = funcao.indexOf(QStringLiteral("::")); separador >= 0) {
                if (funcao.left(separador) != QLatin1String(meta->className()))
                    continue;
                funcao = funcao.mid(separador + 2);
            }
            const QString semEtiqueta = funcao.section(QLatin1Char(':'), 0, 0);
            if (meta->indexOfSlot((semEtiqueta + QStringLiteral("()")).toLatin1().constData()) >= 0) {
                funcoes << funcao;
                encontrados.insert(nome);
            }
        }
        if (!nomes.isEmpty() && funcoes.isEmpty())
            continue;
        failures += QTest::qExec(test.get(), QStringList{QString::fromLocal8Bit(argv[0])} + opcoes + funcoes);
    }
    for (const QString& nome : std::as_const(nomes)) {
        if (!encontrados.contains(nome)) {
            std::fprintf(stderr, "Nenhuma classe de teste tem a função %s\n", qPrintable(nome));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

} // namespace testing
