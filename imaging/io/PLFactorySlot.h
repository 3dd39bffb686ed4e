// The one factory of a kind that a program registers with the image library at start-up (the
// metafile player, the desktop clipboard): the library itself links neither, so it asks the slot
// and does without when nothing is registered. Each factory type has a slot of its own.
#pragma once

template <typename Factory> class PLFactorySlot {
public:
    // Registers the factory (null: none); returns the one registered before.
    static Factory Set(Factory factory)
    {
        const Factory previous = Slot();
        Slot() = factory;
        return previous;
    }

    static Factory Get() { return Slot(); }

private:
    static Factory& Slot()
    {
        static Factory factory = nullptr;
        return factory;
    }
};
