// Controller base: holds the world and the entity; keyboard and AI controllers derive from it.
#include "Controller.h"

Controller::Controller(World* world, Entity* entity) : world(world), entity(entity) {}

Controller::~Controller() = default;
