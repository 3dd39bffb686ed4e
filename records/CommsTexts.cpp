#include "records/CommsTexts.h"

#include "records/CsvNumbers.h"

const std::array<std::string, CommsResultCount> CommsResultText = {
    "",
    "Database Comms: null source or target computer ID",
    "Database Comms: invalid source or target computer ID",
    "Database Comms: source and target computer ID are the same",
    "Database Comms: connection to remote computer failed",
    "Database Comms: Object not found in object map",
    "Database Comms: dispatch queue is empty",
    "Database Comms: contention timeout",
    "Database Comms: all comms currently suspended",
    "Database Comms: special command",
    "Database Comms: dispatch placed in recovery queue",
    "Database Comms: send dispatch failed",
    "Database Comms: recovery queue almost full",
    "Database Comms: failed to send recovery dispatches",
    "Database Comms: recovery queue full",
};

const std::array<std::string, SpecialCommandCount> SpecialCommandText = {
    "Dummy",
    "Message only",
    "Request a copy of the database",
    "Path to the event database folders",
    "Path of the database PHE copy sent in reponse to sctDatabaseRequest",
    "Client and server program versions differ",
    "Request for database recovery",
    "Database recovery is not possible (from this end)",
    "Database ID does not match",
    "All database recovery dispatches have been sent",
    "Server ready for communication",
    "A new database has been opened by the server",
    "Photo Event import complete",
    "Lock the database until the unlock command is sent",
    "Unlock the database",
    "Email sent",
    "Command for or from Kestrune",
};

std::string IntToText(int value, int width)
{
    return FormatInt(value, width);
}
