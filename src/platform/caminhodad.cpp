#include "caminhodad.h"

#include "paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {

namespace {

const QString kNome = QStringLiteral("Caminho.dad");

QString& pastaDaEmpresa()
{
    static QString pasta;
    return pasta;
}

} // namespace

QString CaminhoDad::doPrograma()
{
    return Paths::pastaPrograma() + kNome;
}

QString CaminhoDad::doUsuario()
{
    return Paths::comSeparador(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)) + kNome;
}

QString CaminhoDad::daEmpresa()
{
    return Paths::comSeparador(pastaDaEmpresa().isEmpty() ? QStringLiteral("/etc/quenvar") : pastaDaEmpresa()) + kNome;
}

void CaminhoDad::definePastaDaEmpresa(const QString& pasta)
{
    pastaDaEmpresa() = pasta;
}

QStringList CaminhoDad::lugares()
{
    return {doPrograma(), doUsuario(), daEmpresa()};
}

std::optional<CaminhoDad::Achado> CaminhoDad::procura()
{
    for (const QString& arquivo : lugares()) {
        if (const std::optional<QString> linha = Paths::primeiraLinha(arquivo))
            return Achado{arquivo, *linha};
    }
    return std::nullopt;
}

QString CaminhoDad::paraGravar(const std::optional<Achado>& emUso)
{
    if (!emUso || emUso->arquivo == daEmpresa())
        return doUsuario();
    if (QFileInfo(emUso->arquivo).isWritable())
        return emUso->arquivo;
    return emUso->arquivo == doPrograma() ? QString() : doUsuario();
}

bool CaminhoDad::grava(const QString& arquivo, const QString& pastaDados, QString* erro)
{
    const auto falha = [&](const QString& motivo) {
        if (erro)
            *erro = QStringLiteral("Não foi possível gravar %1: %2").arg(QDir::toNativeSeparators(arquivo), motivo);
        return false;
    };
    if (!QDir().mkpath(QFileInfo(arquivo).absolutePath()))
        return falha(QStringLiteral("a pasta não pôde ser criada."));
    QSaveFile saida(arquivo);
    if (!saida.open(QIODevice::WriteOnly))
        return falha(saida.errorString());
    saida.write(Paths::comSeparador(pastaDados).toUtf8() + "\n");
    if (!saida.commit())
        return falha(saida.errorString());
    return true;
}

} // namespace platform
