#include "connectionlistener.h"

namespace morlu {

ConnectionListener::ConnectionListener(QObject* parent) : QObject(parent) {}

ConnectionListener::~ConnectionListener() = default;

} // namespace morlu
