#pragma once

#include "platform/dberror.h"

#include <functional>

namespace teste {

// The number of the DbError that `acao` throws, or 0 when it throws none.
inline int erroDe(const std::function<void()>& acao)
{
    try {
        acao();
    } catch (const platform::DbError& erro) {
        return erro.numero();
    }
    return 0;
}

} // namespace teste
