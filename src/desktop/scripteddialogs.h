#pragma once

#include "dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>

namespace desktop {

// Dialogs for tests: records every message and answers from a queue (the default button when the queue is empty).
// Modal forms are handed to queued handlers instead of blocking in an event loop.
class ScriptedDialogs : public Dialogs
{
public:
    struct Mensagem
    {
        QString texto;
        QString titulo;
        Icone icone;
        Botoes botoes;
        Resposta padrao;
        Resposta resposta;
    };
    using ManipuladorModal = std::function<int(QDialog*)>;

    Resposta mensagem(const QString& texto, const QString& titulo, Icone icone, Botoes botoes,
                      Resposta padrao) override;
    int mostraModal(QDialog* form) override;

    void proximaResposta(Resposta resposta) { m_respostas.enqueue(resposta); }
    void proximoModal(ManipuladorModal manipulador) { m_modais.enqueue(std::move(manipulador)); }
    // Called while each message is "on screen", before it is answered.
    void aoMostrar(std::function<void(const Mensagem&)> observador) { m_observador = std::move(observador); }

    const QList<Mensagem>& mensagens() const { return m_mensagens; }
    QList<QDialog*> modaisMostrados() const { return m_modaisMostrados; }
    void limpa();

private:
    QQueue<Resposta> m_respostas;
    QQueue<ManipuladorModal> m_modais;
    QList<Mensagem> m_mensagens;
    QList<QDialog*> m_modaisMostrados;
    std::function<void(const Mensagem&)> m_observador;
};

} // namespace desktop
