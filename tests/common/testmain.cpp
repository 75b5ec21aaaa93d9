#include "testregistry.h"

#include <QApplication>
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

} // namespace testing

// Runs every registered test class. Options (such as -v2 or -o file,txt) go to each of them; test functions named
// on the command line ("catalogoVazio", "TestTraco::catalogoVazio", "renomear:nome livre") go only to the class
// that has them, and a name no class has is an error.
int main(int argc, char** argv)
{
    // Windows are tried on the smallest screen the program is made for: the offscreen platform's screen is set to
    // 1024x768 (its own default is 800x800).
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen:configfile=" QUENVAR_TELA_DE_TESTE));
    QApplication app(argc, argv);
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
    for (const auto& factory : testing::registeredTests()) {
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
