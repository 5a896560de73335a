#pragma once

// What a key's rule makes of a stored text, decided in one place: the windows' read steps show it,
// the checks report what departs from the rule, and quorvant-ini refuses it.

#include <QString>
#include <optional>

#include "schema/KeySchema.h"

namespace quorvant::schema {

// What is wrong with a value: its text (the first two), or what it names on this machine.
enum class Problem {
    NotRead,        // the key's rule cannot read the text
    OutOfLimits,    // a number outside the key's limits
    NoFolder,       // a folder that is not there
    NoDatabase,     // the database folder holds no readable data.mdb
    NoSoundDevice,  // a sound card this machine does not have
    NoMixerDevice,  // a mixer device this machine does not have
    NoMixerLine,    // a line the feed's mixer device does not have
    NoGenre,        // a panic genre that is not in the genre list
    NoPort,         // an enabled network link without a port in 1..65535
    SharedPort,     // an enabled network link listening on the port of another
};

struct Reading {
    enum Outcome {
        Keep,     // the control keeps what it shows
        Value,    // the control takes `number` or `text`
        Refused,  // the control keeps what it shows; a strict section's read ends here
    };
    Outcome outcome = Keep;
    // The number a number rule reads (on = 1 for one-means-on and pair; a port's number, 0 for an
    // empty port); nothing where the rule reads no number from this text.
    std::optional<qint32> number;
    QString text;  // what a text rule takes: text, day string, port
    // Set where the text is not what the rule reads as meant, also when the control takes a value
    // anyway (a default for a refused text, a number kept beyond its limits, off for a word): the
    // next save then writes something else than the file holds.
    std::optional<Problem> problem;
};

Reading Interpret(const Key& key, const QString& text);

}  // namespace quorvant::schema
