// The process entry: the framework owns the main loop from here on and reaches the game through the
// init and destroy callbacks and the event delegate.
#include "engine/app/Game.h"

#include "nimbo/Main.h"

int main(int argc, char** argv) {
    return nimbo_main(Game::initGame, Game::destroyGame, argc, argv);
}
