#include "singleinstance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace platform {

namespace {
constexpr int kEsperaMs = 1000;
constexpr char kPedido[] = "ativar\n";
} // namespace

SingleInstance::SingleInstance(const QString& titulo, QObject* parent) : QObject(parent)
{
    QString usuario = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    m_nome = titulo + QLatin1Char('-') + usuario;
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::ativandoAnterior()
{
    QLocalSocket socket;
    socket.connectToServer(m_nome);
    if (!socket.waitForConnected(kEsperaMs))
        return false;
    socket.write(kPedido);
    socket.waitForBytesWritten(kEsperaMs);
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::paraDeEscutar()
{
    if (!m_servidor)
        return;
    m_servidor->close();
    delete m_servidor;
    m_servidor = nullptr;
}

bool SingleInstance::escuta()
{
    if (m_servidor)
        return true;
    m_servidor = new QLocalServer(this);
    m_servidor->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_servidor->listen(m_nome)) {
        // A socket left behind by a copy that crashed: nobody answered on it, so it can go.
        QLocalServer::removeServer(m_nome);
        if (!m_servidor->listen(m_nome))
            return false;
    }
    connect(m_servidor, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* cliente = m_servidor->nextPendingConnection()) {
            connect(cliente, &QLocalSocket::readyRead, this, [this, cliente] {
                if (cliente->readAll().contains("ativar"))
                    emit ativacaoPedida();
            });
            connect(cliente, &QLocalSocket::disconnected, cliente, &QObject::deleteLater);
        }
    });
    return true;
}

} // namespace platform
