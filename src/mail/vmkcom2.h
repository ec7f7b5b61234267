/* VMKCom2: the mailer library. Sends one plain-text message to the vendor, through the customer's own
   mail server when one is configured, otherwise through the vendor's account. Returns 1 when the message
   was handed to a server or no error was shown, 0 when an error message was shown.

   The library shows its boxes through a function that the host program exports under the name
   VMK_MESSAGE_BOX_FUNCTION (found in the running process); without one it writes them to stderr. */
#ifndef VMKCOM2_H
#define VMKCOM2_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(VMKCOM2_BUILD)
#define VMKCOM2_EXPORT __attribute__((visibility("default")))
#else
#define VMKCOM2_EXPORT
#endif

#define VMK_MESSAGE_BOX_FUNCTION "VeldmarkShowMessageBox"
/* title and text are Windows-1252; icon 16 stop, 64 information. */
typedef void (*VeldmarkMessageBoxFunction)(const char* title, const char* text, int icon);

VMKCOM2_EXPORT int mailforwarder(const char* progId, const char* subjectSuffix, int version, const char* body,
                                 int networkReady);

#ifdef __cplusplus
}
#endif

#endif
