#pragma once

class QWidget;

namespace platform {
class Database;
}

// What the reference-settings forms share.
namespace settings {

// An archive database (the company's flag Morto) may be browsed but its settings are not changed.
bool bancoArquivado(platform::Database& db);
// The settings are only shown, never saved, for an archive database or one opened for reading only (a data folder
// protected against writing).
bool somenteConsulta(platform::Database& db);

// Left = (screen width − form width) / 2, and the top likewise with the heights.
void centraNaTela(QWidget* form);

} // namespace settings
