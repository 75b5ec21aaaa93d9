#pragma once

#include <QDialog>
#include <QList>
#include <QString>

namespace platform {
class Database;
}

namespace printing {
class Comparacao;
class Documento;
} // namespace printing

namespace preview {

class PreviaTraco;

// The window of a comparison of mixes: its page in the sheet's preview, with the zoom list and the buttons to print
// it and to save it as a PDF.
class JanelaDaComparacao : public QDialog
{
    Q_OBJECT
public:
    JanelaDaComparacao(const printing::Comparacao& comparacao, const QString& logotipo, QWidget* parent = nullptr);

    // The help topic of the window, which F1 opens.
    static constexpr int kTopicoDaAjuda = 4004;

    PreviaTraco* previa() const { return m_previa; }
    const printing::Documento& documento() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    PreviaTraco* m_previa = nullptr;
};

// Compares the stored mixes with these keys, in this order, in the window shown modally through the program's
// dialogs; `logotipo` empty takes the data folder's logo. True when it was shown; false, with the message, for fewer
// than two or more than four mixes, or rows that could not be read.
bool mostraComparacao(QWidget* pai, platform::Database& banco, const QList<qint64>& codigos,
                      const QString& logotipo = QString());

// Compares the variants of a mix name: the one in use first, then the others in variant order, four at most. A
// name with a single variant gets the message that there is nothing to compare it with.
bool comparaVariantes(QWidget* pai, platform::Database& banco, const QString& nome,
                      const QString& logotipo = QString());

} // namespace preview
