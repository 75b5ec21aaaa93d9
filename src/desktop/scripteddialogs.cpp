#include "scripteddialogs.h"

#include <QDialog>

namespace desktop {

Dialogs::Resposta ScriptedDialogs::mensagem(const QString& texto, const QString& titulo, Icone icone, Botoes botoes,
                                            Resposta padrao)
{
    const Resposta resposta = m_respostas.isEmpty() ? padrao : m_respostas.dequeue();
    m_mensagens.append({texto, titulo, icone, botoes, padrao, resposta});
    if (m_observador)
        m_observador(m_mensagens.last());
    return resposta;
}

int ScriptedDialogs::mostraModal(QDialog* form)
{
    m_modaisMostrados.append(form);
    if (m_modais.isEmpty())
        return QDialog::Rejected;
    return m_modais.dequeue()(form);
}

void ScriptedDialogs::limpa()
{
    m_respostas.clear();
    m_modais.clear();
    m_mensagens.clear();
    m_modaisMostrados.clear();
}

} // namespace desktop
