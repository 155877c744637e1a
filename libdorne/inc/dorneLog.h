#ifndef DORNE_LOG_H
#define DORNE_LOG_H

/* The engine's log: every message of the library passes one level filter,
   goes to standard output and is kept in a 16 KB buffer until fetched.
   Levels: 1 error, 2 warning, 3 information; a message shows when its level
   is at most the log level (1 at load). Safe to call from any thread. */

#include "dorneExport.h"

/* Sets the log level; any value is taken as it is. 0. */
DORNE_API int setLogLevel(int level);

/* When the level passes: formats the message (cut to 1023 characters),
   prints it and keeps it while it fits whole into the buffer (messages that
   do not fit are printed only). 0. */
DORNE_API int logMsg(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));

/* logMsg at level 3; handed to data-source modules as a service. 0. */
DORNE_API int logMsgData(const char* format, ...) __attribute__((format(printf, 1, 2)));

/* Copies the kept messages into buffer (cut to size - 1 characters and a
   zero) and empties the log; 0. A null buffer or size <= 0 writes nothing,
   keeps the log and gives -1. */
DORNE_API int getLogMsg(char* buffer, int size);

#endif
