#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QTabBar>
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

// The captions of a window that can carry an accelerator: the menu bar's titles and the visible tabs, buttons
// (a tool shows one only when its action's icon text has it), frames and labels that lead to a control.
inline QStringList textosComAcelerador(QWidget* janela)
{
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
        } else if (auto* botao = qobject_cast<QAbstractButton*>(w)) {
            textos.append(botao->text());
        } else if (auto* quadro = qobject_cast<QGroupBox*>(w)) {
            textos.append(quadro->title());
        } else if (auto* rotulo = qobject_cast<QLabel*>(w); rotulo && rotulo->buddy()) {
            textos.append(rotulo->text());
        }
    }
    return textos;
}

// Keys Alt+letter that two things of one window answer to: among its captions, and, each on its own, among the
// items of every menu of the window.
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
    confere(textosComAcelerador(janela), janela->windowTitle());
    for (QMenu* menu : janela->findChildren<QMenu*>()) {
        QStringList itens;
        for (QAction* a : menu->actions())
            itens.append(a->text());
        confere(itens, menu->title());
    }
    return repetidos;
}

// The name a screen reader gives a control. Under Linux Qt names a combo box by the value it shows and ties its
// caption through the label relation; for a combo box this is the name set on it, or its buddy label's text, what
// the other platforms' readers say.
inline QString nomeAcessivel(QWidget* w)
{
    if (qobject_cast<QComboBox*>(w)) {
        if (!w->accessibleName().isEmpty())
            return w->accessibleName();
        for (QLabel* r : w->window()->findChildren<QLabel*>()) {
            if (r->buddy() == w)
                return r->text().remove(QLatin1Char('&'));
        }
        return {};
    }
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name).trimmed() : QString();
}

// The controls a screen reader would announce with no name, or with the name of another control of the list.
inline QStringList nomesEmFalta(const QList<QWidget*>& controles)
{
    QStringList problemas;
    QHash<QString, QString> donos;
    for (QWidget* w : controles) {
        const QString quem =
            w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
        const QString dito = nomeAcessivel(w);
        if (dito.isEmpty())
            problemas.append(quem + QStringLiteral(" não tem nome"));
        else if (donos.contains(dito))
            problemas.append(QStringLiteral("\"%1\" é o nome de %2 e de %3").arg(dito, donos.value(dito), quem));
        else
            donos.insert(dito, quem);
    }
    return problemas;
}

// Named controls a user can point at that have no "O que é isto?" text: boxes, lists, buttons and, when asked,
// frames; the tab bar's own scroll buttons and Qt's inner widgets are not the form's.
inline QStringList semExplicacao(const QWidget& form, bool molduras = false)
{
    QStringList faltando;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        const bool controle = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                              qobject_cast<QAbstractButton*>(w) || (molduras && qobject_cast<QGroupBox*>(w));
        if (controle && !qobject_cast<QTabBar*>(w->parentWidget()) && !w->objectName().isEmpty() &&
            !w->objectName().startsWith(QLatin1String("qt_")) && w->whatsThis().isEmpty())
            faltando.append(w->objectName());
    }
    return faltando;
}

} // namespace teste
