#pragma once

#include <QHash>
#include <QMainWindow>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "lab/convergence_study.h"
#include "lab/method_work.h"
#include "lab/lab_model.h"
#include "lab/lab_picture.h"
#include "lab/tableau.h"
#include "lab/second_panel.h"
#include "lab/stoppable_threads.h"
#include "lab/study_file.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDockWidget;
class QLabel;
class QSlider;
class QSpinBox;
class QSplitter;
class QStandardItem;
class QStandardItemModel;
class QTableView;
class QTableWidget;
class QTimer;

namespace tarvel::ui {

class LabPlot;
class LessonPanel;
class StatusSentence;

// The interpolation lab: one function, its nodes and any of the nine
// methods side by side in one of seven views, with the numbers of each
// method below. It never changes the main window.
class LabWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit LabWindow(LabStart start, QWidget* parent = nullptr);
    ~LabWindow() override;

    const LabModel& model() const { return model_; }
    LabPlot& plot() { return *plot_; }
    LabPlot& secondPlot() { return *plot2_; }
    // The second panel's model while the view is split.
    const std::optional<LabModel>& secondModel() const { return panel2_.model(); }
    const ConvergenceTable& convergence() const { return convergence_.table(); }
    const ConvergenceTable& secondConvergence() const { return convergence2_.table(); }
    // Every shown panel's convergence view has all its points.
    bool convergenceComplete() const;
    // Whether values of a shown method are still being computed.
    // Whether either panel still waits for work done away from the window.
    bool workPending() const;

    // The saves behind the actions, once a name is chosen: nothing when the
    // file was written, otherwise why not (the file is then as it was).
    std::optional<QString> savePicture(const QString& path);
    std::optional<QString> saveValues(const QString& path);
    std::optional<QString> saveNodes(const QString& path);
    // The plot's title from now on: empty hides it, the default title (or
    // nothing) follows the settings again.
    void setTitle(const std::optional<QString>& title);
    // Nodes read from text as a spreadsheet copies it, or from a file:
    // nothing when they were taken, otherwise why not (the nodes stay).
    std::optional<QString> saveStudy(const QString& path);
    // The study in the file, or why not (the lab then stays as it was).
    std::optional<QString> openStudy(const QString& path);
    std::optional<QString> pasteNodes(const QString& text);
    std::optional<QString> importNodes(const QString& path);
    // The lesson the lab shows under the plot, if any; a lesson set here
    // is not saved until Save study.
    const std::optional<Lesson>& lesson() const { return lesson_; }
    void setLesson(const std::optional<Lesson>& lesson);
    const TableauSteps& tableau() const { return tableau_; }

    // Asks, when the lab holds edits that are not saved, whether to save
    // them (through the save dialog), discard them or keep the lab open:
    // true when it may close. Asked once: after a yes the lab closes
    // without asking again.
    bool mayClose();

protected:
    void closeEvent(QCloseEvent* event) override;

signals:
    // A point of the convergence view arrived and was drawn.
    void convergenceArrived();
    void convergenceFinished();
    // The values that were being computed have all arrived and are drawn.
    void workFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    QWidget* createMethodBoxes(QWidget* parent);
    QWidget* createNodeTable(QWidget* parent);
    void updateNodeTable();
    void nodeEdited(QStandardItem* item);
    std::optional<QString> changeNodes(NodeList nodes, bool withY, const QString& done);
    void addNodeAt(double x, double y);
    void deleteNodes(std::vector<std::size_t> rows);
    void createActions();
    void createLessons();
    void editLesson();
    void describeControls();
    void connectControls();
    QAction* addAction(const char* name, const QString& text, const QKeySequence& keys = {});
    void deferChange(QSpinBox* box);
    void applyPendingChanges();
    void settingChanged(Refusal refusal, QWidget* control);
    bool saidBeside(QWidget* control, const Refusal& refusal);
    void applyExpression();
    void fitNewPicture();
    void showSettings();
    void refresh();
    void updateMethods();
    void updateNumbers();
    // The cells it changed.
    QRect showViewFigures(int row, const NumbersRow& figures);
    void giveNumbersRoom();
    void updateActions();
    // The one place that sets the status sentence.
    void say(const QString& sentence);
    void sayView(bool whole);
    void ensureConvergence(const LabModel& model, ConvergenceStudy& study, ConvergenceRun& runner);
    // Says in the status line what the picture shows.
    void describePicture();
    // The noise's effects are computed on a worker: rebuilding every shown
    // method without the noise takes longer than a frame at many nodes.
    void askNoiseEffects();
    void noiseEffectsArrived(std::uint64_t asked, std::vector<NoiseEffect> effects);
    QString withNoiseEffects(const QString& sentence) const;
    bool methodWorkPending() const;
    // Whether the panel of this study shows the convergence view now.
    bool showsConvergence(const ConvergenceStudy& study) const;
    void startLongWork();
    // Starts run on works (when there are any); take hands each result to
    // its model and says whether it was still wanted.
    void startWork(MethodWorkRun& run, std::vector<MethodWork> works,
                   std::function<bool(MethodWorkResult)> take);
    void showArrivedWork();
    void stopPlay();
    void playStep();
    void startPlay(bool on);
    void moveByKey(std::size_t node, double dy);
    // True when the file was saved.
    bool saveWithDialog(const QString& title, const QString& filter, const QString& suggested,
                        std::optional<QString> (LabWindow::*save)(const QString&));
    bool saveNodesWithDialog();
    void copyNumbers();
    void copyPicture();
    void askTitle();
    LabPicture currentPicture() const;
    void showPictures();
    void updateSecondPanel();
    QWidget* createSecondPanelChoice(QWidget* parent);
    void secondPanelChosen(QComboBox* control);
    void showSecondPanelChoice();
    void showSplit(bool on);
    bool panelsShareAxes() const;
    void linkWorlds(LabPicture& first, LabPicture& second) const;
    QWidget* createNoiseControls(QWidget* parent);
    void showNoise();
    void createTableauPanel();
    void updateTableau();
    // A step of the tableau: shown and said, or refused beside the tableau.
    void tableauChanged(Refusal refusal, const QString& done);
    void plotClicked(double x, std::optional<std::size_t> node);
    bool tableauShown() const;

    LabModel model_;
    LabPlot* plot_ = nullptr;
    QComboBox* function_ = nullptr;
    QComboBox* expressionHistory_ = nullptr;  // editable: its line edit is the entry
    QLabel* expressionRefusal_ = nullptr;
    QComboBox* nodes_ = nullptr;
    QSpinBox* count_ = nullptr;
    std::array<QSpinBox*, kStudyMethods.size()> parameters_{};  // for methods with one
    QComboBox* view_ = nullptr;
    QComboBox* globalForm_ = nullptr;
    std::array<QCheckBox*, kStudyMethods.size()> methods_{};
    QSplitter* split_ = nullptr;
    QTableWidget* numbers_ = nullptr;
    QTableView* nodeTable_ = nullptr;
    QStandardItemModel* nodeRows_ = nullptr;
    bool fillingNodeTable_ = false;  // the table shows the nodes: no edit
    // The nodes the table shows and whether their y could be edited then.
    std::optional<NodeList> tableShows_;
    bool tableYEditable_ = false;
    StatusSentence* sentence_ = nullptr;
    QHash<QString, QAction*> actions_;
    QHash<QWidget*, QString> toolTips_;
    QTimer* playTimer_ = nullptr;
    bool closeAgreed_ = false;
    QTimer* convergenceRedraw_ = nullptr;
    // The spin boxes changed since the changes were last taken, in order.
    QTimer* pendingChanges_ = nullptr;
    std::vector<QSpinBox*> pendingBoxes_;

    // The convergence view: its points so far and the run computing them.
    ConvergenceStudy convergence_;
    ConvergenceRun runner_;

    // The values that take longer than a frame: started once the changes
    // waiting in the event queue are taken, drawn together when they arrive.
    QTimer* longWorkStart_ = nullptr;
    QTimer* longWorkRedraw_ = nullptr;
    QTimer* dragNumbers_ = nullptr;  // the tables' next writing during a drag or a run
    QString pendingDescription_;  // the status line while values are being computed
    StoppableThreads noiseThreads_;
    std::uint64_t noiseAsked_ = 0;          // the latest request, counted
    bool noisePending_ = false;
    std::vector<NoiseEffect> noiseEffects_;  // of the latest request, once computed
    QString saidWithoutNoise_;  // the picture's sentence that waits for the noise's
    MethodWorkRun workRun_;
    MethodWorkRun workRun2_;  // the second panel's
    // The user's own title; none: the default one, which follows the settings.
    std::optional<QString> title_;
    // The split view's second panel: its own node family, and its own
    // function and view if chosen, the rest shared.
    LabPlot* plot2_ = nullptr;
    // Noise on the node values: its level on a decade slider, its seed.
    QSlider* noise_ = nullptr;
    QLabel* noiseLevel_ = nullptr;
    QLabel* noiseSeed_ = nullptr;
    // The divided-difference table grown node by node, in its own panel.
    TableauSteps tableau_;
    QDockWidget* tableauPanel_ = nullptr;
    QComboBox* tableauOrder_ = nullptr;
    QTableWidget* differences_ = nullptr;
    QTableWidget* neville_ = nullptr;
    QLabel* tableauNote_ = nullptr;
    QWidget* panel2Choice_ = nullptr;
    QComboBox* function2_ = nullptr;
    QComboBox* nodes2_ = nullptr;
    QComboBox* view2_ = nullptr;
    PanelChoice choice2_;
    SecondPanel panel2_;
    bool firstPanelOnly_ = false;  // a change that leaves the second panel's picture as it is
    QTimer* settingRun_ = nullptr;  // running: a setting changed a moment ago
    bool inSettingRun_ = false;    // a change that follows the last within that moment
    ConvergenceStudy convergence2_;
    ConvergenceRun runner2_;
    // The lesson shown under the plot, and as it was last opened or saved.
    std::optional<Lesson> lesson_;
    std::optional<Lesson> savedLesson_;
    QDockWidget* lessonDock_ = nullptr;
    LessonPanel* lessonPanel_ = nullptr;
};

}  // namespace tarvel::ui
