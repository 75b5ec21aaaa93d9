#pragma once

#include "app/traco.h"
#include "fixtures.h"
#include "platform/database.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <memory>

namespace teste {

// A data folder, the shared database open on it and the main window loaded over it.
struct Janela
{
    explicit Janela(bool demo = true, const QStringList& ajustes = {},
                    platform::Database::Acesso acesso = platform::Database::Acesso::LeituraEGravacao)
        : pasta(demo)
    {
        platform::Database::shared().open(pasta.local());
        for (const QString& sql : ajustes)
            platform::Database::shared().exec(sql);
        if (acesso != platform::Database::Acesso::LeituraEGravacao)
            platform::Database::shared().open(pasta.local(), acesso);
        platform::Paths::definePastaDados(pasta.dados());
        // Every window starts as a first start does: the list a window closed before left open stays closed.
        QSettings(QStringLiteral("Quenvar"), QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName())
            .remove(QStringLiteral("Lista"));
        traco = std::make_unique<app::Traco>(platform::Database::shared());
        traco->show();
    }
    ~Janela()
    {
        traco.reset();
        platform::Database::shared().close();
    }
    mixform::FormTraco* form() const { return traco->form(); }
    QString registro() const { return traco->textoPainel(3); }
    QList<bool> botoes() const
    {
        QList<bool> estados;
        for (QPushButton* b : form()->Movimento)
            estados.append(b->isEnabled());
        return estados;
    }

    PastaDeTeste pasta;
    std::unique_ptr<app::Traco> traco;
};

// Types into a box as the user does: the box takes the focus and the text replaces what it showed.
inline void digita(QLineEdit* caixa, const QString& texto)
{
    caixa->setFocus();
    caixa->selectAll();
    QTest::keyClicks(caixa, texto);
}

} // namespace teste
