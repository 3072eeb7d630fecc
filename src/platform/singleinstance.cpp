#include "singleinstance.h"

namespace platform {

SingleInstanceGuard::SingleInstanceGuard(const QString& name) {
    server_.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    acquired_ = server_.listen(name);
}

}  // namespace platform
