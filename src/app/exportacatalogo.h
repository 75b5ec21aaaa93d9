#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace platform {
class Database;
}

namespace app {

// The tool "Exportar catálogo…": asks for the file (its type chosen by the file-type list) and whether every mix or
// only those in use go, writes it with a progress window that can cancel, and says where it went.
class ExportaCatalogo
{
public:
    // The file chosen to save, with the extension of its type; empty when the user gives up. The program asks in
    // a save dialog; tests install an answer of their own.
    using EscolheArquivo = std::function<QString(QWidget* pai, const QString& sugestao)>;
    static void defineEscolhaDeArquivo(EscolheArquivo escolha);

    static void executa(QWidget* pai, platform::Database& banco);
};

} // namespace app
