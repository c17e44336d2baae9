#include "newsprig/registration.h"

// Nobody waits for this program or reads its result: it ends with 0 whatever
// happened, and reports nothing.
int main()
{
    try {
        orvane::RegisterWithNewsprig("orvane", 2755, "Orvane");
    } catch (...) {
    }
    return 0;
}
