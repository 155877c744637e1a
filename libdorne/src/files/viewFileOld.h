// Inside the binary view file: the revisions before 3.01, read only. Each
// group of revisions that share a layout is named by its first revision
// (100, 101, 102, 107, 111, 113, 201, 202, 203, 204); its records are
// converted into today's model while they are read, with the bounds and
// refusals of the 3.0x readers. The revision the file names (in.version)
// tells the revisions of one group apart where a conversion depends on it.
#ifndef DORNE_VIEW_FILE_OLD_H
#define DORNE_VIEW_FILE_OLD_H

#include "files/viewFile.h"

namespace dorne {

extern const RevisionGroup kRevision100;
extern const RevisionGroup kRevision101;
extern const RevisionGroup kRevision102;
extern const RevisionGroup kRevision107;
extern const RevisionGroup kRevision111;
extern const RevisionGroup kRevision113;
extern const RevisionGroup kRevision201;
extern const RevisionGroup kRevision202;
extern const RevisionGroup kRevision203;
extern const RevisionGroup kRevision204;

// The data-source section of the groups from 1.11 on: the 3.01 section
// without the variables' default texts (viewFileSources.cpp).
bool dataLoad_111(ViewReader& in, ViewContent& out);

// An action list in the layout of group (viewFileOldActions.cpp), appended
// at the tail of *list as actionLoad does.
bool actionLoadOld(ViewReader& in, int group, ACTION_STRUCT** list, ACTION_STRUCT*& last);

// One element record of kind in the layout of group, behind out's last
// element (viewFileOldElements.cpp). Kind 9 makes no element before 2.02:
// its actions are read and dropped.
bool elementLoadOld(ViewReader& in, int group, ViewContent& out, int32_t kind);

} // namespace dorne

#endif
