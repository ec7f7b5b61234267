/* VMK21: the settings library. Plain C exports, looked up by name. A string result points into a
   buffer of the library that stays valid until the next call; integers are signed 32-bit. */
#ifndef VMK21_H
#define VMK21_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(VMK21_BUILD)
#define VMK21_EXPORT __attribute__((visibility("default")))
#else
#define VMK21_EXPORT
#endif

/* Settings store */
VMK21_EXPORT const char* ReadPhonetik(void);
VMK21_EXPORT int WritePhonetik(const char* text);
VMK21_EXPORT const char* ReadSavePath(void);
VMK21_EXPORT int WriteSavePath(const char* text);
VMK21_EXPORT const char* ReadPerson1(void);
VMK21_EXPORT const char* ReadPerson2(void);
VMK21_EXPORT const char* ReadPerson3(void);
VMK21_EXPORT const char* ReadPerson4(void);
VMK21_EXPORT const char* ReadPerson5(void);
VMK21_EXPORT const char* ReadPerson6(void);
VMK21_EXPORT int WritePerson1(const char* text);
VMK21_EXPORT int WritePerson2(const char* text);
VMK21_EXPORT int WritePerson3(const char* text);
VMK21_EXPORT int WritePerson4(const char* text);
VMK21_EXPORT int WritePerson5(const char* text);
VMK21_EXPORT int WritePerson6(const char* text);
VMK21_EXPORT const char* ReadWhiteList(void);
VMK21_EXPORT int WriteWhiteList(const char* text);
VMK21_EXPORT const char* ReadCSVExport(void);
VMK21_EXPORT int WriteCSVExport(const char* text);
VMK21_EXPORT const char* ReadPDFAnzeige(void);
VMK21_EXPORT int WritePDFAnzeige(const char* text);
VMK21_EXPORT const char* ReadSelectedEUDisplayItems(void);
VMK21_EXPORT const char* ReadSelectedUNDisplayItems(void);
VMK21_EXPORT const char* ReadSelectedUKDisplayItems(void);
VMK21_EXPORT const char* ReadSelectedUSDisplayItems(void);
VMK21_EXPORT int WriteSelectedDisplayItems(const char* eu, const char* un, const char* uk, const char* us);
VMK21_EXPORT int GetNurListenTreffer(void);
VMK21_EXPORT int SetNurListenTreffer(int value);
VMK21_EXPORT const char* GetBatchFile(void);
VMK21_EXPORT const char* GetBatchPath(void);
VMK21_EXPORT const char* GetBatchPDFOption(void);
VMK21_EXPORT int SetBatchFile(const char* text);
VMK21_EXPORT int SetBatchPath(const char* text);
VMK21_EXPORT int SetBatchPDFOption(const char* text);
VMK21_EXPORT int GetExtMailStatus(void);
VMK21_EXPORT int SetExtMailStatus(int value);
VMK21_EXPORT int GetLanguage(void);
VMK21_EXPORT int SetLanguage(int value);
VMK21_EXPORT const char* ReadLastUpdate(void);
VMK21_EXPORT int WriteLastUpdate(const char* text);
VMK21_EXPORT int ExtMail(const char* server, const char* port, const char* user, const char* password);
VMK21_EXPORT const char* ReadExtMailServer(void);
VMK21_EXPORT const char* ReadExtMailPort(void);
VMK21_EXPORT const char* ReadExtMailUser(void);
VMK21_EXPORT int GetProxyStorage(void);
VMK21_EXPORT int SetProxyStorage(int value);
VMK21_EXPORT const char* GetProxyInfo(void);
VMK21_EXPORT int GetProxyStatus(void);
VMK21_EXPORT void SetProxyInfo(const char* proxy, int storage);
VMK21_EXPORT int Startup(void);

/* Autostart and scheduled search */
VMK21_EXPORT int AutostartActive(int active, int dateTime, int sequence);
VMK21_EXPORT int MiniAutoStart(int active);
VMK21_EXPORT int SetAutostartSequence(int sequence);
VMK21_EXPORT int ReadAutoActivation(void);
VMK21_EXPORT int ReadAutoDateTime(void);
VMK21_EXPORT int ReadAutoSequence(void);
VMK21_EXPORT int SetAutostartRegistry(int flag);

/* Update support: the version entries of update.dat, and downloads from the update server */
VMK21_EXPORT int PUPD(void);
VMK21_EXPORT const char* ReadUpdateInfo(void);
VMK21_EXPORT const char* LIF(void);
VMK21_EXPORT const char* LUF(const char* eu, const char* un, const char* uk, const char* us);
VMK21_EXPORT const char* DBU21(void);
VMK21_EXPORT const char* DBU(void);

/* Installation check and path helpers */
VMK21_EXPORT int CheckInstallation(void);
VMK21_EXPORT const char* GetApplicationPath(void);
VMK21_EXPORT const char* GetSysPath(int folder);
VMK21_EXPORT const char* GetPCName(void);
VMK21_EXPORT const char* ReadDataDirectory(void);
VMK21_EXPORT const char* ReadPath(int folder);
VMK21_EXPORT int DelWhiteList(void);

#ifdef __cplusplus
}
#endif

#endif
