#pragma once

#include "fixtures.h"
#include "platform/ajuda.h"
#include "platform/database.h"
#include "platform/scripteddialogs.h"
#include "platform/som.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabBar>
#include <QTest>
#include <QVariantMap>

#include <memory>

// What every settings-form test stands on: a fresh data folder with its shared database open, scripted dialogs, and
// the sounds and help topics the forms ask for.
class Ambiente
{
public:
    platform::ScriptedDialogs* dialogs = nullptr;
    QList<int> sons;
    QList<int> topicos;

    bool prepara()
    {
        dialogs = new platform::ScriptedDialogs;
        platform::Dialogs::instala(std::unique_ptr<platform::Dialogs>(dialogs));
        sons.clear();
        topicos.clear();
        platform::observaSons([this](int som) { sons.append(som); });
        platform::Ajuda::defineVisualizador([this](QWidget*, const QString&, int topico) {
            topicos.append(topico);
            return true;
        });
        m_pasta = std::make_unique<PastaDeTeste>(false);
        if (!m_pasta->valida())
            return false;
        platform::Database::shared().open(m_pasta->banco());
        return true;
    }

    void encerra()
    {
        platform::Database::shared().close();
        platform::observaSons({});
        m_pasta.reset();
    }

    // The form loaded and shown, as the main window shows it; the sounds start counting from here.
    template <class Form> std::unique_ptr<Form> abre()
    {
        auto form = std::make_unique<Form>(platform::Database::shared());
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            return nullptr;
        sons.clear();
        return form;
    }

    static void executa(const QString& sql, const QVariantList& valores = {})
    {
        platform::Database::shared().exec(sql, valores);
    }

    // Named controls a user can point at that have no "O que é isto?" text.
    static QStringList semExplicacao(const QWidget& form)
    {
        QStringList faltando;
        for (QWidget* w : form.findChildren<QWidget*>()) {
            const bool controle =
                qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w);
            if (controle && !qobject_cast<QTabBar*>(w->parentWidget()) && !w->objectName().isEmpty() &&
                !w->objectName().startsWith(QLatin1String("qt_")) && w->whatsThis().isEmpty())
                faltando.append(w->objectName());
        }
        return faltando;
    }

    // Every row of a table, in its own order, read behind the forms' backs.
    static QList<QVariantMap> linhas(const QString& tabela)
    {
        QList<QVariantMap> resultado;
        QSqlQuery q = platform::Database::shared().exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(tabela));
        while (q.next()) {
            QVariantMap linha;
            for (int i = 0; i < q.record().count(); ++i)
                linha.insert(q.record().fieldName(i), q.value(i));
            resultado.append(linha);
        }
        return resultado;
    }

private:
    std::unique_ptr<PastaDeTeste> m_pasta;
};
