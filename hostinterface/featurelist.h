// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The camera's features as the host hands them to a page.
#ifndef FEATURELIST_H
#define FEATURELIST_H

#include <OrvikCPP.h>

#include <QSharedPointer>
#include <QVector>

typedef QVector<TKN::OrvAPI::FeaturePtr> FeatureVector;
typedef QSharedPointer<FeatureVector> CameraFeatureList;

#endif // FEATURELIST_H
