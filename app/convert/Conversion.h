// One conversion the operator starts, from its first dialog to its last: an import or export
// (the parameter dialog, the task under its progress dialog, the result dialog, pass after pass
// until the operator is done) or a Y/C field exchange (the Y/C mode dialog, then the task under
// its progress dialog). It owns the task of the pass under way and the worker thread the task
// runs on. The worker works on its own copy of the request: it shares nothing with the window
// but the task, whose progress, result and flags are its own atomics, and the window reads the
// task's texts only after the worker has ended.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/convert/ConversionRequest.h"
#include "platform/gui/WorkerThread.h"

class CDlgProgressBase;
class CDlgSetting;
class CImageFileEngine;
class CTaskBaseClass;
struct tagFileInfo;

// What is left to the pane after a pass of an import or export, in this order: the review of
// a target, the refresh of the file list, another pass.
struct PassEnd {
  std::string review;        // the target the operator asked to see, or empty
  bool refreshList = false;  // the targets landed in the folder of the first source
  bool again = false;        // the parameter dialog comes back
};

class Conversion {
 public:
  // The work of a pass on the worker thread: works on task with the run's copy of the request
  // and returns the result code its load gave.
  using WorkerBody = int (*)(CTaskBaseClass &task, const ConversionRequest &request);

  // engine: the plug-in host of the tasks and the dialogs; it must outlive the conversion.
  // request: the selected files (at least one), the format, and the size and shift choices of
  // the last import or export, which a Y/C exchange hands to its task.
  Conversion(CImageFileEngine &engine, ConversionRequest request);
  // Waits for a worker that still runs.
  ~Conversion();
  Conversion(const Conversion &) = delete;
  Conversion &operator=(const Conversion &) = delete;

  // One pass of an import (exportSide false) or an export. The parameter dialog starts afresh
  // from the first source; previewed is the record of the previewed picture, whose size an
  // export offers, or null. A failed or cancelled run deletes what it wrote, shows a failure,
  // and asks for another pass; a finished run shows the result dialog.
  PassEnd ImportExportPass(bool exportSide, const tagFileInfo *previewed, WorkerBody body);
  // The Y/C field exchange. kept holds the task of the last exchange: it goes once the target
  // folder is chosen, before the new task is made, and takes the new task when its worker has
  // ended.
  void ExchangeFields(std::unique_ptr<CTaskBaseClass> &kept, WorkerBody body);

  // The work of the two workflows, for their worker bodies.
  static int ConvertFiles(CTaskBaseClass &task, const ConversionRequest &request);
  static int ExchangeFieldsOfFiles(CTaskBaseClass &task, const ConversionRequest &request);

  // True while a worker runs.
  bool IsRunning();
  // Waits until the worker has ended, the window's events handled meanwhile.
  void WaitForWorker();
  // The request with the choices of the last accepted dialog.
  const ConversionRequest &Request() const { return m_request; }

 private:
  // What a run left, read after its worker has ended.
  struct RunResult {
    bool finished = false;  // the progress dialog ended with OK
    int retCode = 0;        // the task's convert result
    std::string errorInfo;
    std::string targetFile;
  };

  // The parameter dialog of a pass; false when the operator left it.
  bool AskParameters(bool exportSide, const tagFileInfo *previewed);
  // The result dialog of a finished pass that wrote target.
  PassEnd ShowResult(const std::string &target);
  // Hands the size and shift choices and the composite mode to the task.
  void SetTaskParameters();
  // Starts body on the worker, on the task with a copy of the request, and runs progress
  // modally. When the dialog ends other than with OK, onStop runs (when given) and the task is
  // stopped. Then waits for the worker, a while plainly and then with the window's events
  // handled, reads the task's results, and cancels the task when the run did not finish.
  RunResult Run(CDlgProgressBase &progress, WorkerBody body,
                const std::function<void()> &onStop = {});

  CImageFileEngine &m_engine;
  ConversionRequest m_request;
  // One parameter dialog serves every pass of an import or export.
  std::unique_ptr<CDlgSetting> m_settings;
  std::unique_ptr<CTaskBaseClass> m_task;
  // Declared after the task: it goes first, waiting for a worker that may still use the task.
  platform::gui::WorkerThread m_worker;
};
