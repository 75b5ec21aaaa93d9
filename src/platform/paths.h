#pragma once

#include <QString>

#include <optional>

namespace platform {

struct LocalDoBanco;

// The program folder and the data folder. The data folder is the first line of Caminho.dad exactly as read: no
// trimming and no separator added, since every shared file name is put directly behind it.
class Paths
{
public:
    // Folder of the running executable, ending in one separator.
    static QString pastaPrograma();
    static void definePastaPrograma(const QString& pasta); // tests and the command-line tool
    static QString comSeparador(const QString& pasta);
    // Folder of the help pages (Ajuda/) and sounds (Sons/), ending in one separator: the program folder when it
    // holds Ajuda/ (the build tree, or a program folder copied whole), else share/quenvar/ beside the program's bin/
    // (the installed program). When neither holds the help, the program folder, where it always was.
    static QString pastaRecursos();

    // First line of the file (up to the first line end), read as UTF-8 or, when it is not valid UTF-8, as Latin-1.
    // No value when the file is missing or cannot be read.
    static std::optional<QString> primeiraLinha(const QString& arquivo);

    static QString pastaDados();
    static void definePastaDados(const QString& pasta);

    static QString bancoDeDados() { return pastaDados() + QStringLiteral("Dados/empresa.mdb"); }
    // The data folder's database: the file above or the server its Dados/servidor.ini names.
    static LocalDoBanco localDoBanco();
    static QString logDeErros() { return pastaDados() + QStringLiteral("Dados/Erros.txt"); }
    static QString logotipo() { return pastaDados() + QStringLiteral("Imagens/logo.bmp"); }
};

} // namespace platform
