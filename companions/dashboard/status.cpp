#include "status.h"

#include <objbase.h>

#include "plugin_contract.h"
#include "win/com_ptr.h"

StatusAnswers AskStatus() {
    StatusAnswers answers;
    ComPtr<IFileProtectStatus> status;
    answers.created = ::CoCreateInstance(kFileProtectStatusClass, nullptr, CLSCTX_INPROC_SERVER,
                                         kFileProtectStatusInterface, status.put_void());
    if (FAILED(answers.created)) return answers;
    answers.hasItemsResult = status->HasDecryptedItems(&answers.hasItems);
    answers.timeoutResult = status->GetNotifyTimeout(&answers.timeout);
    return answers;
}

bool ReminderDue(const StatusAnswers& answers) {
    return SUCCEEDED(answers.created) && answers.hasItems == VARIANT_TRUE && answers.timeout > 0;
}
