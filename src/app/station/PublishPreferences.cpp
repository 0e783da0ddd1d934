#include "PublishPreferences.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "station/SharedPreferences.h"

namespace brindle {

void publishForOtherPrograms(
    SharedPreferences& shared, OperatorDialogs& dialogs, const std::vector<PublishedValue>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        const bool last = i + 1 == values.size();
        if (Status saved = shared.publish(values[i].element, values[i].value, last); !saved) {
            dialogs.message(QStringLiteral("Shared Preferences Not Saved"),
                toQString(SharedPreferencesFileName) + QStringLiteral(" could not be written:  ")
                    + toQString(saved.error().description));
        }
    }
}

} // namespace brindle
