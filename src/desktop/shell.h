#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace desktop {

// What the program asks of the operating system: opening a link (the mail link of the comments command) and
// starting another program of the suite. Tests put their own hands here.
class Shell
{
public:
    // Opens a link with the user's program for it; nothing is checked or reported afterwards.
    static void abreEndereco(const QUrl& endereco);
    // Starts a program as a normal window, not waiting for it; false when it could not be started.
    static bool iniciaPrograma(const QString& arquivo);

    using Abridor = std::function<void(const QUrl&)>;
    using Iniciador = std::function<bool(const QString&)>;
    // An empty function brings the system's back.
    static void defineAbridor(Abridor abridor);
    static void defineIniciador(Iniciador iniciador);
};

} // namespace desktop
