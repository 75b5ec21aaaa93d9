#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace platform {

// One copy of the program per user session. The first copy listens on a local socket named after the application
// title; a second copy that reaches it asks it to come to the front and then ends without showing any window.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString& titulo, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy answered and was asked to come to the front: this copy must end now.
    bool ativandoAnterior();
    // Starts listening for later copies. False when the socket could not be made (the program runs anyway).
    bool escuta();

    // Stops answering later copies, so that one this copy starts as it ends runs on its own.
    void paraDeEscutar();
    QString nomeServidor() const { return m_nome; }

signals:
    // A later copy asked this one to come to the front.
    void ativacaoPedida();

private:
    QString m_nome;
    QLocalServer* m_servidor = nullptr;
};

} // namespace platform
