#pragma once

namespace platform {

// What kind of message is put to the user, shown as the picture beside its text: the catalogue's rules return their
// messages with one, and the program's dialogs draw it.
enum class Icone { Nenhum, Informacao, Exclamacao, Pergunta, Critico };

} // namespace platform
