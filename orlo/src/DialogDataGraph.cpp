#include "DialogDataGraph.h"

#include "DialogDataTable.h"
#include "DialogPrompt.h"
#include "DialogGraphSetup.h"
#include "GraphModel.h"
#include "GraphSeries.h"
#include "Images.h"
#include "Profile.h"
#include "Record.h"
#include "SafeFile.h"
#include "TimelineScan.h"
#include "WidgetGraph.h"

#include <QBuffer>
#include <QButtonGroup>
#include <QColor>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>


namespace KAVO {

namespace {

constexpr int ZoomInterval = 50;     // ms between two steps of a held zoom button
constexpr float ZoomFactor = 0.97f;
constexpr float ZoomInLargest = 5000.0f;
constexpr float ZoomOutSmallest = 1.0f;
constexpr float DefaultSpan = 60.0f;

// Red, green and blue fractions of a colour name as Qt reads it.
void colorOf(const QString& name, float& r, float& g, float& b)
{
    const QColor c(name);
    r = static_cast<float>(c.redF());
    g = static_cast<float>(c.greenF());
    b = static_cast<float>(c.blueF());
}

} // namespace

DialogDataGraph::DialogDataGraph(QWidget* parent)
    : QWidget(parent)
{
    mSetup = new DialogGraphSetup(this, mData);
    connect(mSetup, &DialogGraphSetup::signalChanged, this, &DialogDataGraph::slotGraphSetup);

    mZoomTimer = new QTimer(this);
    connect(mZoomTimer, &QTimer::timeout, this, &DialogDataGraph::slotTimeout);
    mZoomTimer->start(ZoomInterval);

    mButtonRow = new QHBoxLayout;
    mButtonRow->setSpacing(0);
    mButtonRow->setContentsMargins(1, 1, 1, 1);
    mButtons = new QButtonGroup(this);
    mButtons->setExclusive(false);
    connect(mButtons, &QButtonGroup::idPressed, this, &DialogDataGraph::slotCommandPress);
    connect(mButtons, &QButtonGroup::idReleased, this, &DialogDataGraph::slotCommandRelease);

    struct CommandButton
    {
        QString tip;
        const char* image;
        QString text;
        bool checkable;
    };
    const CommandButton commands[CommandCount] = {
        {tr("Zoom In"), "zoomin", QString(), false},
        {tr("Zoom Out"), "zoomout", QString(), false},
        {tr("Zoom 1:1"), "zoom1", QString(), false},
        {tr("Zoom Marker"), "zoomrect", QString(), false},
        {tr("Clear All"), "fail", QString(), false},
        {tr("Automatic Mode"), nullptr, "Auto", true},
        {tr("Split Mode"), "graphSplit", QString(), true},
        {tr("Single Graph Mode"), "graphSingle", QString(), true},
        {tr("Reset all to default"), "undo", QString(), false},
        {tr("Setup"), "configure2", QString(), false},
        {tr("Snapshot"), "frame_image", QString(), false},
    };
    for (int id = 0; id < CommandCount; ++id) {
        QToolButton* b = new QToolButton(this);
        b->setFixedSize(32, 32);
        b->setIconSize(QSize(32, 32));
        b->setToolTip(commands[id].tip);
        if (commands[id].image != nullptr)
            b->setIcon(Images::icon(commands[id].image));
        else
            b->setText(commands[id].text);
        b->setCheckable(commands[id].checkable);
        mButtons->addButton(b, id);
        mButton[id] = b;
    }
    mButton[CommandClear]->hide();
    mButton[CommandAutomatic]->hide();
    for (int id = 0; id < CommandCount; ++id) {
        if (id == CommandClear || id == CommandSplit || id == CommandReset || id == CommandSnapshot)
            mButtonRow->addSpacing(5);
        mButtonRow->addWidget(mButton[id]);
    }
    mButtonRow->addStretch();

    mGraph = new WidgetGraph(this);
    mGraph->setMaxParameters(30);
    mGraph->setDisplayMode(WidgetGraph::DisplaySplit);
    mGraph->setGraphMode(WidgetGraph::GraphManual);
    connect(mGraph, &WidgetGraph::signalManMode, this, &DialogDataGraph::slotManMode);
    connect(mGraph, &WidgetGraph::signalCursor, this, &DialogDataGraph::signalCursor);

    mLayout = new QGridLayout(this);
    mLayout->addLayout(mButtonRow, 0, 0);
    mLayout->addWidget(mGraph, 1, 0);
    updateControls();
}

QToolButton* DialogDataGraph::button(int id) const
{
    return id >= 0 && id < CommandCount ? mButton[id] : nullptr;
}

double DialogDataGraph::markStart()
{
    return mGraph->getMarker1();
}

double DialogDataGraph::markStop()
{
    return mGraph->getMarker2();
}

void DialogDataGraph::updateProfile()
{
    const std::vector<ProfileParameter> selected = DialogDataTable::selectedParameters();
    // A selection of more than the graph holds shows its first ones.
    unsigned i = 0;
    for (; i < selected.size() && i < GraphModel::kMaxParameters; ++i) {
        mGraph->setActive(i, true);
        mGraph->setParameterName(i, selected[i].mName.toStdString());
    }
    for (; i < GraphModel::kMaxParameters; ++i)
        mGraph->setActive(i, false);
    updateRecord(mRecord, true);
}

void DialogDataGraph::updateRecord(KAVO::Record* record, bool newWindow)
{
    // The window changes of a refill rebuild the buckets once, at the end.
    const WidgetGraph::HeldRebuilds held(mGraph);
    mRecord = record;
    // Feeding moves the window in automatic mode; a refill without a new
    // window puts it back.
    const double keptStart = mGraph->getXmin();
    const double keptEnd = mGraph->getXmax();
    mGraph->clear();
    if (record == nullptr) {
        mGraph->rebuild();
        return;
    }
    std::vector<ProfileParameter> selected = DialogDataTable::selectedParameters();
    selected.resize(std::min<std::size_t>(selected.size(), GraphModel::kMaxParameters));
    fill(selected);

    if (newWindow) {
        const RecordInfo& info = record->recordInfo();
        const float margin = static_cast<float>(info.stopTime - info.startTime) * 0.1f;
        const double start = info.startTime - margin;
        const double end = info.stopTime + margin;
        // An empty window is widened by the graph itself.
        mGraph->setXmin(static_cast<float>(start));
        mGraph->setXmax(static_cast<float>(end));
        mGraph->setCursorPosition(info.startTime);
    } else if (mGraph->getXmin() != keptStart || mGraph->getXmax() != keptEnd) {
        mGraph->setXmin(static_cast<float>(keptStart));
        mGraph->setXmax(static_cast<float>(keptEnd));
    }
    mGraph->rebuild();
}

void DialogDataGraph::fillIndex(unsigned index, const ProfileParameter& parameter)
{
    std::vector<ProfileParameter> parameters(index + 1);
    parameters[index] = parameter;
    fill(parameters, index);
}

void DialogDataGraph::fill(const std::vector<ProfileParameter>& parameters, unsigned from)
{
    if (mRecord == nullptr)
        return;
    const RecordData& data = mRecord->recordData();
    const Profile* profile = Profile::instance();

    // Parameters of one message share its id list, which is read once for
    // all of them. The graph is left as feeding the parameters one after
    // the other leaves it, so the group of the last one comes last.
    std::vector<const RecordIdList*> lists;
    std::vector<std::vector<unsigned>> groups;
    for (unsigned i = from; i < parameters.size(); ++i) {
        const RecordIdList* list = &data.idList(static_cast<uint32_t>(parameters[i].mChannel),
                                                static_cast<uint32_t>(parameters[i].mCanId));
        const auto at = std::find(lists.begin(), lists.end(), list);
        if (at == lists.end()) {
            lists.push_back(list);
            groups.push_back({i});
        } else {
            groups[static_cast<std::size_t>(at - lists.begin())].push_back(i);
        }
    }
    if (!groups.empty()) {
        const auto last = std::find_if(groups.begin(), groups.end(), [&](const std::vector<unsigned>& g) {
            return g.back() + 1 == parameters.size();
        });
        std::rotate(lists.begin() + (last - groups.begin()), lists.begin() + (last - groups.begin()) + 1, lists.end());
        std::rotate(last, last + 1, groups.end());
    }

    // The list is in reading order; the files of a selection need not come
    // in time order, and the graph takes a parameter's samples only in time
    // order: the lists are walked on the timeline, all at once, by worker
    // threads that put each sample at its place.
    const TimelineScan scan(data, lists);
    std::vector<std::shared_ptr<GraphTimes>> times(groups.size());
    std::vector<std::vector<GraphValues>> values(groups.size());
    for (std::size_t g = 0; g < groups.size(); ++g) {
        times[g] = std::make_shared<GraphTimes>(scan.size(g));
        values[g].resize(groups[g].size());
        for (GraphValues& v : values[g])
            v.resize(scan.size(g));
    }
    scan.run([&](std::size_t g, std::size_t index, const RecordEntry& e, double t) {
        const std::vector<unsigned>& group = groups[g];
        (*times[g])[index] = t;
        for (std::size_t k = 0; k < group.size(); ++k)
            values[g][k][index] = profile->getDouble(e, parameters[group[k]], true);
    });
    std::vector<GraphModel::Feed> feeds;
    for (std::size_t g = 0; g < groups.size(); ++g)
        for (std::size_t k = 0; k < groups[g].size(); ++k)
            feeds.push_back(GraphModel::Feed{groups[g][k], times[g], &values[g][k]});
    mGraph->putSamples(feeds);
}

void DialogDataGraph::setTime(double t)
{
    const WidgetGraph::HeldRebuilds held(mGraph);
    mGraph->setCursorPosition(t);
    const float span = static_cast<float>(mGraph->getXmax() - mGraph->getXmin());
    const float margin = 0.1f * span;
    if (t < mGraph->getXmin() + margin)
        mGraph->setT0(static_cast<float>(t - margin));
    else if (t > mGraph->getXmax() - margin)
        mGraph->setT0(static_cast<float>(t + margin - span));
}

QImage DialogDataGraph::snapshot()
{
    QPixmap picture(size());
    render(&picture, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    // Rendering the tab does not always hold the graph's OpenGL pixels:
    // they are drawn in from the graph itself.
    const QImage graph = mGraph->grabGraph();
    QPainter painter(&picture);
    painter.drawImage(QRect(mGraph->mapTo(this, QPoint(0, 0)), mGraph->size()), graph);
    painter.end();
    return picture.toImage();
}

void DialogDataGraph::saveSnapshot()
{
    const QImage picture = snapshot();
    const QString title = tr("Save Snapshot");
    const QString proposed = "./snapshot.bmp";
    const QString filter = tr("BMP File (*.bmp);;All Files (*.*)");
    const QString name = DialogPrompt::getSaveFileName(this, title, proposed, filter);
    if (name.isEmpty())
        return;

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QFileInfo(name).suffix().toLatin1());
    bool saved = writer.write(picture);
    if (!saved)
        printf("could not save snapshot <%s>: %s\n", name.toLocal8Bit().constData(),
               writer.errorString().toLocal8Bit().constData());
    else
        saved = SafeFile::writeAll(name, bytes);
    // The picture exists nowhere else: the user must know it was not kept.
    if (!saved)
        DialogPrompt::critical(this, title, tr("Saving the snapshot failed !\n%1").arg(name), tr("Ok"));
}

void DialogDataGraph::updateControls()
{
    const bool split = mGraph->getDisplayMode() == WidgetGraph::DisplaySplit;
    mButton[CommandSplit]->setChecked(split);
    mButton[CommandSingle]->setChecked(!split);
    mButton[CommandAutomatic]->setChecked(mGraph->getGraphMode() == WidgetGraph::GraphAutomatic);
}

void DialogDataGraph::setSpan(float span)
{
    const WidgetGraph::HeldRebuilds held(mGraph);
    const bool cursorShown = cursorInWindow();
    mGraph->setXrange(span);
    mData.timeSpan = span;
    // The window follows the cursor in centre cursor mode: a new span is
    // laid around the cursor it showed, not at the end that the graph mode
    // keeps. A window the user took elsewhere (markers, panning) stays there.
    if (cursorShown && mGraph->getCursorMode() == WidgetGraph::CursorCenter)
        mGraph->setCursorPosition(mGraph->getCursorTime());
}

bool DialogDataGraph::cursorInWindow() const
{
    const double t = mGraph->getCursorTime();
    return t >= mGraph->getXmin() && t <= mGraph->getXmax();
}

void DialogDataGraph::slotCommandPress(int id)
{
    mPressed = id;
}

void DialogDataGraph::slotCommandRelease(int id)
{
    switch (id) {
    case CommandZoom1:
        setSpan(DefaultSpan);
        break;
    case CommandZoomMarker:
        mGraph->zoomToMarker();
        break;
    case CommandClear:
        mGraph->clear();
        mGraph->rebuild();
        break;
    case CommandAutomatic: {
        const bool automatic = mButton[CommandAutomatic]->isChecked();
        mGraph->setGraphMode(automatic ? WidgetGraph::GraphAutomatic : WidgetGraph::GraphManual);
        mData.graphMode = automatic ? 1 : 0;
        break;
    }
    case CommandSplit:
        mGraph->setDisplayMode(WidgetGraph::DisplaySplit);
        mData.displayMode = 1;
        break;
    case CommandSingle:
        mGraph->setDisplayMode(WidgetGraph::DisplaySingle);
        mData.displayMode = 0;
        break;
    case CommandReset:
        mGraph->setDisplayMode(WidgetGraph::DisplaySplit);
        setSpan(DefaultSpan);
        mData.displayMode = 1;
        break;
    case CommandSetup:
        mSetup->show();
        mSetup->raise();
        mSetup->activateWindow();
        break;
    case CommandSnapshot:
        saveSnapshot();
        break;
    default:
        break;
    }
    updateControls();
    mPressed = CommandNone;
}

void DialogDataGraph::slotManMode()
{
    updateControls();
}

void DialogDataGraph::slotTimeout()
{
    if (mPressed != CommandZoomIn && mPressed != CommandZoomOut)
        return;
    const float span = static_cast<float>(mGraph->getXmax() - mGraph->getXmin());
    float next;
    if (mPressed == CommandZoomIn) {
        // Zooming in stops at the narrowest window the graph shows.
        next = std::max(std::min(ZoomInLargest, ZoomFactor * span), static_cast<float>(GraphModel::kMinSpan));
    } else {
        next = std::max(ZoomOutSmallest, span / ZoomFactor);
    }
    setSpan(next);
}

void DialogDataGraph::slotGraphSetup()
{
    const WidgetGraph::HeldRebuilds held(mGraph);
    const bool cursorShown = cursorInWindow();
    float r, g, b;
    mGraph->setXrange(static_cast<float>(mData.timeSpan));
    mGraph->setDisplayMode(mData.displayMode == 0 ? WidgetGraph::DisplaySingle : WidgetGraph::DisplaySplit);
    mGraph->setGraphMode(mData.graphMode == 0 ? WidgetGraph::GraphManual : WidgetGraph::GraphAutomatic);
    mGraph->setCursorMode(static_cast<WidgetGraph::eCursorMode>(mData.cursorMode));
    colorOf(mData.backColor, r, g, b);
    mGraph->setBackColor(r, g, b);
    mGraph->activateGrid(mData.gridOn);
    colorOf(mData.gridColor, r, g, b);
    mGraph->setGridColor(r, g, b);
    colorOf(mData.labelColor, r, g, b);
    mGraph->setLabelColor(r, g, b);
    colorOf(mData.labelBackColor, r, g, b);
    mGraph->setLabelBackColor(r, g, b);
    mGraph->activateCursor(mData.cursorOn);
    mGraph->activateLegend(mData.legendOn);
    mGraph->setAutoScaleY(mData.autoscaleOn);
    mGraph->setYmin(static_cast<float>(mData.yMin));
    mGraph->setYmax(static_cast<float>(mData.yMax));
    // The span was applied in the modes from before, at the end that those
    // keep, which may lie far from the cursor. Centre cursor mode lays the
    // window around the cursor; another mode brings back a cursor that the
    // window showed, as a time set from elsewhere would.
    const double t = mGraph->getCursorTime();
    if (mGraph->getCursorMode() == WidgetGraph::CursorCenter)
        mGraph->setCursorPosition(t);
    else if (cursorShown && !cursorInWindow())
        setTime(t);
    updateControls();
}

} // namespace KAVO
