#pragma once

#include <string_view>

namespace brindle::logmsg {

// Message boxes of the log file's commands, word for word as the operator has always read them.

inline constexpr std::string_view FileErrorTitle = "File Error";
inline constexpr std::string_view FileErrorText
    = "Error opening file.  This error is annoying but probably correctable.  In all likelihood, a character such as "
      "a quote got into your data or one of your entries has an invalid date/time format.  Close this program and open "
      "log.txt in the program's working directory with a text editor such as notepad.  Inspect the data and fix any "
      "errors you see (remove any extra quotes and make sure your date and time entries are valid).";

inline constexpr std::string_view NewLogTitle = "WARNING - Your existing log file will be ERASED!";
inline constexpr std::string_view NewLogPrompt
    = "Are you sure that you want to start a new log file?  This function will ERASE the existing log file!\r\n\r\n"
      "To verify that you want to start a new log file, please type: YES";
inline constexpr std::string_view NewLogConfirmation = "YES";

inline constexpr std::string_view StartupQuestionTitle = "Open existing log?";
inline constexpr std::string_view StartupQuestionText
    = "Do you want to continue an existing contest? (Yes opens your existing log, No erases any existing log and "
      "starts a new log.)";

inline constexpr std::string_view ArchiveInfoTitle = "Archive Information";
inline constexpr std::string_view ArchiveInfoText
    = "This function is used to create a permanent copy of your currently open log file.  To open your log file at a "
      "later date, click File > Restore from Archive or Backup.";
inline constexpr std::string_view ArchiveErrorTitle = "Error Archiving Log";

inline constexpr std::string_view RestoreInfoTitle = "Opening Archived Data Information";
inline constexpr std::string_view RestoreInfoText
    = "This action will open an archived log or backup file and creates a working file called log.txt.  If you make "
      "any changes to your archived data that you would like to permanently save, before you click File > New to "
      "start a new contest, be sure to click File > Archive to save your changes.";
inline constexpr std::string_view RestoreConfirmTitle = "Are your sure?";
inline constexpr std::string_view RestoreConfirmText
    = "Are you sure that you want to open an archived log?  This action will clear and replace existing QSO data.";
inline constexpr std::string_view RestoreErrorTitle = "Error Restoring Log";
// Shown instead of replacing the working log with a file that could not be loaded.
inline constexpr std::string_view RestoreDamagedText
    = "The chosen file is not a log this program can read (a record is cut short, a field holds a stray quote, or "
      "it has too many contacts).  Your working log was left as it was.";

inline constexpr std::string_view LogFileFilter = "Log Files (*.log) | *.log";

// Writes that fail: the operator must know at once that a contact or a change is not on the disk.
inline constexpr std::string_view WriteErrorTitle = "Log File Not Written";
inline constexpr std::string_view EraseErrorText = "A new log was NOT started: log.txt could not be emptied.";
inline constexpr std::string_view BackupBeforeEraseErrorText
    = "A new log was NOT started: log.txt could not be copied into the backup folder first, and erasing it without "
      "that copy could lose its contacts.  log.txt was left as it was.";
inline constexpr std::string_view AppendErrorText
    = "This contact was NOT logged: it could not be added to log.txt.  It is still in the entry fields; press Enter "
      "to log it again once the problem is solved.";
inline constexpr std::string_view RewriteErrorText
    = "The change was NOT saved: log.txt could not be rewritten.  The log file still holds the contacts as they were "
      "before the change.";
inline constexpr std::string_view LogFullTitle = "Log Full";
inline constexpr std::string_view LogFullText
    = "The log already holds 12000 contacts, the most this program can keep.  This contact was NOT logged.";

} // namespace brindle::logmsg
