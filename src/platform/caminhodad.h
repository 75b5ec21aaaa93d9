#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

// Where the data folder is written down. A Caminho.dad is looked for beside the executable first (the suite's own
// place: a build folder, or a program folder the company keeps on a share), then in the user's configuration folder
// (where an installed program writes it), then in /etc/quenvar/ (written once by an administrator for every
// workstation). The first one that can be read wins; its first line is the data folder.
class CaminhoDad
{
public:
    // Beside the executable, the user's, the company's: in the order they are looked at.
    static QStringList lugares();
    static QString doPrograma();
    static QString doUsuario();
    static QString daEmpresa();
    // Tests put the company-wide folder elsewhere; an empty text brings /etc/quenvar/ back.
    static void definePastaDaEmpresa(const QString& pasta);

    struct Achado
    {
        QString arquivo;    // the Caminho.dad read
        QString pastaDados; // its first line, exactly as written
    };
    // The first Caminho.dad that can be read; nothing when there is none.
    static std::optional<Achado> procura();

    // The file a change of data folder goes to: the one in use when the user may write it and it is not the
    // company's; else the user's own, which the company's gives way to. Empty when the one in use lies beside the
    // executable and cannot be written: a file of the user's would never be read.
    static QString paraGravar(const std::optional<Achado>& emUso);

    // Writes `pastaDados` (with its separator at the end) as the file's one line, in UTF-8, whole or not at all,
    // making the file's folder when needed. False, with the reason in `erro`, when it cannot.
    static bool grava(const QString& arquivo, const QString& pastaDados, QString* erro = nullptr);
};

} // namespace platform
