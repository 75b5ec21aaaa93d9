#pragma once

#include <QString>

#include <functional>

namespace desktop {

// The program's event sounds, played without waiting from Sons/ in the resources folder. A missing file or a
// machine without sound is silence, never an error.
enum class Som : int {
    Erro = 1,       // somerro.wav
    Abre = 2,       // somabre.wav
    Muda = 3,       // sommuda.wav
    Sair = 4,       // somsair.wav
    Livre = 5,      // somlivre.wav
    MouseMove = 6,  // mousemov.wav
    MouseClica = 7, // mousecli.wav
};

// Plays sound 1 to 7; any other number is ignored.
void TocaSom(int numero);
inline void TocaSom(Som som)
{
    TocaSom(static_cast<int>(som));
}

// The file of a sound number, empty for a number outside 1 to 7.
QString arquivoDoSom(int numero);

// Tests observe the sounds asked for (whether or not a file was there to play).
void observaSons(std::function<void(int)> observador);

} // namespace desktop
