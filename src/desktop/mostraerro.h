#pragma once

#include <QString>

namespace desktop {

// Writes the error to the log of the data folder and then tells the user which routine failed; a shared database
// replaced on another workstation (3734, or any error once its file has been replaced) or protected against writing
// (3027) gets a message saying what to do instead.
void MostraErro(const QString& rotina, int numero, const QString& descricao);

} // namespace desktop
