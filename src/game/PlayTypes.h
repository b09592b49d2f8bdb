#pragma once

// Values shared by the play phase and its weapons.

// The fireballs are a fixed pool, created with the play phase and reused: never grown.
const int BALL_POOL_SIZE = 8;

// Which way the faerie looks; it picks her sprite and the direction of a throw.
enum Facing { FACING_FRONT = 0, FACING_BACK = 1, FACING_LEFT = 2, FACING_RIGHT = 3 };

// She flies at a constant height in pixels above ground level.
const int FLYING_ALTITUDE = 155;
