#include "StoredProc.h"

using namespace Qt::StringLiterals;

void StoredProc::execProc()
{
    setSql({u"EXECUTE PROCEDURE "_s + StoredProcName});
    execute();
}
