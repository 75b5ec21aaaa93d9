#include "paths.h"

#include "localdobanco.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace platform {

namespace {

QString& programa()
{
    static QString pasta;
    return pasta;
}

QString& dados()
{
    static QString pasta;
    return pasta;
}

// Caminho.dad holds one short path; reading more than this cannot be a path and would only waste memory.
constexpr qint64 kLimiteLinha = 64 * 1024;

} // namespace

QString Paths::comSeparador(const QString& pasta)
{
    if (pasta.endsWith(QLatin1Char('/')) || pasta.endsWith(QLatin1Char('\\')))
        return pasta;
    return pasta + QLatin1Char('/');
}

QString Paths::pastaPrograma()
{
    if (programa().isEmpty())
        programa() = comSeparador(QCoreApplication::applicationDirPath());
    return programa();
}

QString Paths::pastaRecursos()
{
    const QString programa = pastaPrograma();
    if (QFileInfo(programa + QStringLiteral("Ajuda")).isDir())
        return programa;
    const QString instalada = QDir::cleanPath(programa + QStringLiteral("../share/quenvar")) + QLatin1Char('/');
    return QFileInfo(instalada + QStringLiteral("Ajuda")).isDir() ? instalada : programa;
}

void Paths::definePastaPrograma(const QString& pasta)
{
    programa() = comSeparador(pasta);
}

std::optional<QString> Paths::primeiraLinha(const QString& arquivo)
{
    QFile file(arquivo);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(kLimiteLinha);
    if (bytes.isNull() && file.error() != QFileDevice::NoError)
        return std::nullopt;
    const qsizetype fim = bytes.indexOf('\n');
    if (fim >= 0)
        bytes.truncate(fim);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString linha = utf8.decode(bytes);
    if (utf8.hasError())
        linha = QString::fromLatin1(bytes);
    return linha;
}

QString Paths::pastaDados()
{
    return dados();
}

void Paths::definePastaDados(const QString& pasta)
{
    dados() = pasta;
}

} // namespace platform

namespace platform {

LocalDoBanco Paths::localDoBanco()
{
    return LocalDoBanco::daPasta(pastaDados());
}

} // namespace platform
