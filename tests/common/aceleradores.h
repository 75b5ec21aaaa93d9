#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QTabBar>
#include <QToolBar>
#include <QWidget>

namespace teste {

// The letter after '&' in a caption, folded (Alt+A and Alt+Á are one key), or nothing.
inline QChar letraAceleradora(const QString& texto)
{
    for (qsizetype i = texto.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < texto.size();
         i = texto.indexOf(QLatin1Char('&'), i + 2)) {
        if (texto.at(i + 1) != QLatin1Char('&'))
            return texto.mid(i + 1, 1).normalized(QString::NormalizationForm_D).at(0).toLower();
    }
    return {};
}

// Keys Alt+letter that two things of one window answer to: the menu bar's titles, the visible tabs, buttons,
// frames and labels that lead to a control; and, each on its own, the items of every menu of the window.
inline QStringList aceleradoresRepetidos(QWidget* janela)
{
    QStringList repetidos;
    const auto confere = [&repetidos](const QList<QString>& textos, const QString& onde) {
        QHash<QChar, QString> donos;
        for (const QString& texto : textos) {
            const QChar letra = letraAceleradora(texto);
            if (letra.isNull())
                continue;
            if (donos.contains(letra))
                repetidos.append(QStringLiteral("%1: %2 / %3").arg(onde, donos.value(letra), texto));
            else
                donos.insert(letra, texto);
        }
    };
    QStringList textos;
    for (QMenuBar* barra : janela->findChildren<QMenuBar*>())
        for (QAction* a : barra->actions())
            textos.append(a->text());
    for (QWidget* w : janela->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(janela))
            continue;
        if (auto* abas = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < abas->count(); ++i)
                textos.append(abas->tabText(i));
        } else if (auto* botao = qobject_cast<QAbstractButton*>(w); botao && !qobject_cast<QToolBar*>(w->parent())) {
            textos.append(botao->text());
        } else if (auto* quadro = qobject_cast<QGroupBox*>(w)) {
            textos.append(quadro->title());
        } else if (auto* rotulo = qobject_cast<QLabel*>(w); rotulo && rotulo->buddy()) {
            textos.append(rotulo->text());
        }
    }
    confere(textos, janela->windowTitle());
    for (QMenu* menu : janela->findChildren<QMenu*>()) {
        QStringList itens;
        for (QAction* a : menu->actions())
            itens.append(a->text());
        confere(itens, menu->title());
    }
    return repetidos;
}

} // namespace teste
