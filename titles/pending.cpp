// pending.cpp - the title lookup and the registry conversion until they
// land: discs play untitled.
#include "titles/titlelookup.h"

void convertRegistryTitles() {}
int lookupTitles(int) { return 0; }
void writeTitles(int) {}
