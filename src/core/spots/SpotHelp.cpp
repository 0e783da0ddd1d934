#include "SpotHelp.h"

#include <initializer_list>

namespace brindle {

namespace {

constexpr std::string_view Break = "\r\n\r\n";

constexpr std::string_view G1
    = "Use this form to configure your DX spotting options.  After you make your selections, a list or band map will "
      "display on the main form (as selected here) to keep you updated on the latest packet spots.";
constexpr std::string_view G2
    = "The list will show the last 2-3 posts on the main form depending on your screen size.  The band map will "
      "display the prefixes posted for your current band.  To see the whole call and frequency, move your mouse over "
      "the prefix and observe either the tool tip or the Possible Duplicates box.";
constexpr std::string_view G3
    = "The program keeps the last 50 DX posts regardless of band in memory. Your band map will cycle through these "
      "posts as they are received.  Posts received within the last 10 minutes will be yellow; posts 10-30 minutes "
      "old will be white and posts 30-60 minutes old will be gray.";
constexpr std::string_view G4
    = "If you are using the program's rig control features, you can right click any spot displayed on the main "
      "form's band map or HF spectrum map to tune your rig to the spot frequency. Right clicking will not change "
      "frequency when displaying the DX spots in list mode.";
constexpr std::string_view T1
    = "If you have an Internet connection (either telephone line or high speed), the Telnet option is very easy to "
      "implement.  Just connect to the Internet by your regular ISP and click Open on this form.  Type your call "
      "sign when prompted and press enter.";
constexpr std::string_view P1
    = "To use a Packet TNC, you will have to check your modem documentation for the proper serial port settings.  "
      "Use either Crtl C or the Esc key to send the Hex character to put your TNC in command mode (you do not have "
      "to press enter to send the Hex character).  Otherwise, just type and press enter to send text.";
constexpr std::string_view P2
    = "One nice feature with the packet option is that you don't actually have to connect to another packet "
      "station.  Just click the DX Only check box so that only packets identified as DX will be displayed.  As long "
      "as DX posts are being transmitted the software will check recent posts to eliminate duplicate posts.  Even if "
      "you are connected, it is a good idea to check this box to eliminate miscellaneous comments, etc.";
constexpr std::string_view A1
    = "This program will also interface with the AGW Packet Engine.  The AGW Packet engine will interface with your "
      "existing sound card (or TNC including Baypac) to send and receive Packet.  To use the AGW Packet Engine:";
constexpr std::string_view A3
    = "The file to download is AGWPE.zip.  Instructions for use are on this website as well.";
constexpr std::string_view A6 = "To send a connect request using the AGW packet engine, type in the format of";
constexpr std::string_view A7 = ":C KORVA     or to disconnect :D";
constexpr std::string_view A8 = "and press enter (you can also use the Esc key to add a colon).";
constexpr std::string_view C1 = "When you have configured your DX spotting options, click Open to initiate the "
                                "communication.  Then click Done to return to the main form.";
constexpr std::string_view C2
    = "If the list is being displayed on the main form, you can click on it to quickly return to this form.  To "
      "return the main form to the original display, select None from the spotting options.";
constexpr std::string_view H1 = "This code was developed and tested with a Kantronics KPC3+ TNC.  I look forward to "
                                "hearing about your experiences with different hardware.";

constexpr std::string_view AgwUnreachableHead
    = "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and receive packet with "
      "your soundcard or devices such a Baypac:";

std::string paragraphs(std::initializer_list<std::string_view> texts)
{
    std::string joined;
    for (const std::string_view text : texts) {
        joined += text;
        joined += Break;
    }
    return joined;
}

std::string agwParagraphs()
{
    return paragraphs({ A1, AgwDownloadLine, A3, AgwSetupLine, AgwOpenLine, A6, A7, A8 });
}

} // namespace

std::optional<std::string> spotHelpText(std::optional<SpotSource> source)
{
    if (!source) {
        return std::nullopt;
    }
    switch (*source) {
    case SpotSource::None:
        return paragraphs({ G1, G2, G3, G4, T1, P1, P2 }) + agwParagraphs() + paragraphs({ C1, C2, H1 });
    case SpotSource::Tnc:
        return paragraphs({ P1, P2, C1, C2, H1 });
    case SpotSource::Telnet:
        return paragraphs({ T1, C1, C2 });
    case SpotSource::Agw:
        return agwParagraphs() + paragraphs({ C1, C2, H1 });
    }
    return std::nullopt;
}

std::string agwUnreachableMonitorText()
{
    return paragraphs({ AgwUnreachableHead, AgwDownloadLine, AgwSetupLine, AgwOpenLine });
}

std::string agwUnreachableMessageText()
{
    return std::string(AgwUnreachableHead) + std::string(Break) + std::string(AgwDownloadLine) + std::string(Break)
        + "- Make sure the AGW Packet Engine software is running and configure it as described on the AGW Packet "
          "Engine website.";
}

} // namespace brindle
