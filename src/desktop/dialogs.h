#pragma once

#include "platform/icone.h"

#include <QString>

#include <memory>

class QDialog;
class QWidget;

namespace desktop {

// Every message box and every modal form of the program goes through this interface, so that tests can answer them.
class Dialogs
{
public:
    using Icone = platform::Icone;
    enum class Botoes { Ok, OkCancelar, SimNao, SimNaoCancelar };
    enum class Resposta { Ok, Cancelar, Sim, Nao };

    virtual ~Dialogs() = default;

    virtual Resposta mensagem(const QString& texto, const QString& titulo, Icone icone, Botoes botoes,
                              Resposta padrao) = 0;
    // Shows a form modally and returns its result code (QDialog::Accepted or Rejected).
    virtual int mostraModal(QDialog* form) = 0;

    // The implementation in use; the application installs the message-box one, tests a scripted one.
    static Dialogs& atual();
    static void instala(std::unique_ptr<Dialogs> dialogs);

    // Shorthand for the common OK-only message.
    static void aviso(const QString& texto, const QString& titulo, Icone icone);
};

// Real message boxes. The texts break lines with a single carriage return; Qt shows them as line breaks.
class MessageBoxDialogs : public Dialogs
{
public:
    explicit MessageBoxDialogs(QWidget* pai = nullptr) : m_pai(pai) {}
    Resposta mensagem(const QString& texto, const QString& titulo, Icone icone, Botoes botoes,
                      Resposta padrao) override;
    int mostraModal(QDialog* form) override;

private:
    QWidget* m_pai;
};

} // namespace desktop
