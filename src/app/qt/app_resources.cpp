#include "app/qt/app_resources.h"

#include <QtCore/qglobal.h>

// The resource macro declares a function at file scope, so it cannot sit in a namespace.
static void initQuilletResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace quillet {

void loadAppResources()
{
    static const bool loaded = (initQuilletResources(), true);
    (void)loaded;
}

}  // namespace quillet
