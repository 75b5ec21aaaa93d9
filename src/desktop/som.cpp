#include "som.h"

#include "platform/paths.h"

#include <QFileInfo>
#include <QHash>
#include <QSoundEffect>
#include <QUrl>

namespace desktop {

namespace {

std::function<void(int)>& observador()
{
    static std::function<void(int)> f;
    return f;
}

} // namespace

QString arquivoDoSom(int numero)
{
    static const char* const arquivos[] = {"somerro.wav",  "somabre.wav",  "sommuda.wav", "somsair.wav",
                                           "somlivre.wav", "mousemov.wav", "mousecli.wav"};
    if (numero < 1 || numero > 7)
        return {};
    return platform::Paths::pastaRecursos() + QStringLiteral("Sons/") + QLatin1String(arquivos[numero - 1]);
}

void TocaSom(int numero)
{
    const QString arquivo = arquivoDoSom(numero);
    if (arquivo.isEmpty())
        return;
    if (observador())
        observador()(numero);
    if (!QFileInfo::exists(arquivo))
        return;
    // One effect per file, kept for the whole run: loading a sound on every click would lag behind the pointer.
    static QHash<QString, QSoundEffect*> efeitos;
    QSoundEffect*& efeito = efeitos[arquivo];
    if (!efeito) {
        efeito = new QSoundEffect;
        efeito->setSource(QUrl::fromLocalFile(arquivo));
    }
    efeito->play();
}

void observaSons(std::function<void(int)> f)
{
    observador() = std::move(f);
}

} // namespace desktop
