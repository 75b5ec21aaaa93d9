#pragma once

#include "desktop/ajuda.h"
#include "desktop/scripteddialogs.h"
#include "desktop/som.h"
#include "fixtures.h"
#include "platform/database.h"

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
    desktop::ScriptedDialogs* dialogs = nullptr;
    QList<int> sons;
    QList<int> topicos;

    bool prepara()
    {
        dialogs = new desktop::ScriptedDialogs;
        desktop::Dialogs::instala(std::unique_ptr<desktop::Dialogs>(dialogs));
        sons.clear();
        topicos.clear();
        desktop::observaSons([this](int som) { sons.append(som); });
        desktop::Ajuda::defineVisualizador([this](QWidget*, const QString&, int topico) {
            topicos.append(topico);
            return true;
        });
        m_pasta = std::make_unique<PastaDeTeste>(false);
        if (!m_pasta->valida())
            return false;
        platform::Database::shared().open(m_pasta->local());
        return true;
    }

    void encerra()
    {
        platform::Database::shared().close();
        desktop::observaSons({});
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

    // Every row of a table, in its own order, read behind the forms' backs.
    static QList<QVariantMap> linhas(const QString& tabela)
    {
        QList<QVariantMap> resultado;
        QSqlQuery q = platform::Database::shared().exec(
            QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(tabela, platform::Database::shared().chave(tabela)));
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
