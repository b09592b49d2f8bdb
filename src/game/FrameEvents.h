#pragma once

// What happened in one frame of play, in the order it happened: the update steps add to
// the list and whatever reacts to them (the sound, a replay check) reads it afterwards, so
// that nothing needs hooks inside the steps. Positions are map points at ground level.
enum EventKind {
    EVENT_THROW,         // a fireball left the faerie
    EVENT_BOUNCE_ROOF,   // a fireball bounced on a roof
    EVENT_BOUNCE_GROUND, // ... or on open ground
    EVENT_BURST,         // a fireball burst, knocking a storey off any building there
    EVENT_BLAST_BEGUN,   // the blast key went down with energy left
    EVENT_BLAST_STRIKE,  // the blast struck its square of tiles around the point
    EVENT_ENERGY_EMPTY,  // the blast used its last unit of energy
    EVENT_KIND_COUNT
};

struct FrameEvent {
    EventKind kind;
    int x;
    int y;
};

// A fixed-size list, emptied at the top of every frame; a frame never has more events
// than fit (eight fireballs and one blast), and any beyond that are dropped.
class cFrameEvents {
public:
    static const int CAPACITY = 64;

    void Clear() { count = 0; }
    void Add(EventKind kind, int x, int y)
    {
        if (count < CAPACITY)
            events[count++] = FrameEvent{kind, x, y};
    }
    int Count() const { return count; }
    const FrameEvent* begin() const { return events; }
    const FrameEvent* end() const { return events + count; }

private:
    FrameEvent events[CAPACITY];
    int count = 0;
};
