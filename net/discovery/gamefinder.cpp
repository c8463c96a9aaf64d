#include "gamefinder.h"

namespace morlu {

GameFinder::GameFinder(QObject* parent) : QObject(parent) {}

GameFinder::~GameFinder() = default;

} // namespace morlu
